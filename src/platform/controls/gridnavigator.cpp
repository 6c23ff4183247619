#include "controls/gridnavigator.h"

#include "ado/connection.h"
#include "controls/standardicon.h"
#include "dataframe/dataframe.h"

#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

GridNavigator::GridNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, QStyle::StandardPixmap>> buttons = {
        {QStringLiteral("Nuovo"), QStyle::SP_FileIcon},
        {QStringLiteral("Elimina"), QStyle::SP_TrashIcon},
    };
    for (const auto &entry : buttons) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("GRIDNAV_") + entry.first);
        button->setIcon(standardIcon(style(), entry.second));
        button->setToolTip(entry.first);
        layout->addWidget(button);
        const QString key = entry.first;
        connect(button, &QToolButton::clicked, this, [this, key] { press(key); });
    }
    layout->addStretch();
}

GridNavigator::~GridNavigator() = default;

void GridNavigator::setFrame(DataFrame *frame) { m_frame = frame; }

bool GridNavigator::press(const QString &key)
{
    const ado::ReadScope action;
    emit ButtonClick(key);
    if (!m_frame)
        return false;
    if (key.compare(QLatin1String("Nuovo"), Qt::CaseInsensitive) == 0)
        return m_frame->AddNew();
    if (key.compare(QLatin1String("Elimina"), Qt::CaseInsensitive) == 0)
        return m_frame->Delete();
    return false;
}
