#include "controls/recordnavigator.h"

#include "ado/connection.h"
#include "controls/standardicon.h"
#include "dataframe/dataframe.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

RecordNavigator::RecordNavigator(QWidget *parent) : QWidget(parent), m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    const QList<QPair<QString, QStyle::StandardPixmap>> standard = {
        {QStringLiteral("Primo"), QStyle::SP_MediaSkipBackward},
        {QStringLiteral("Precedente"), QStyle::SP_MediaSeekBackward},
        {QStringLiteral("Successivo"), QStyle::SP_MediaSeekForward},
        {QStringLiteral("Ultimo"), QStyle::SP_MediaSkipForward},
        {QStringLiteral("Nuovo"), QStyle::SP_FileIcon},
        {QStringLiteral("Conferma"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("Annulla"), QStyle::SP_DialogCancelButton},
        {QStringLiteral("Elimina"), QStyle::SP_TrashIcon},
    };
    for (const auto &entry : standard) {
        QToolButton *button = addButton(entry.first, QString());
        button->setIcon(standardIcon(style(), entry.second));
        button->setToolTip(entry.first);
    }
}

RecordNavigator::~RecordNavigator() = default;

QToolButton *RecordNavigator::addButton(const QString &key, const QString &caption)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName() + QLatin1Char('_') + key);
    if (!caption.isEmpty()) {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    m_layout->addWidget(button);
    m_buttons.insert(key.toUpper(), button);
    m_keys.insert(key.toUpper(), key);
    connect(button, &QToolButton::clicked, this, [this, key] { press(key); });
    return button;
}

void RecordNavigator::setHostInterface(QObject *contract) { m_contract = contract; }
void RecordNavigator::setFrame(DataFrame *frame) { m_frame = frame; }
DataFrame *RecordNavigator::frame() const { return m_frame; }

void RecordNavigator::setButtonVisible(const QString &key, bool visible)
{
    if (QToolButton *b = m_buttons.value(key.toUpper()))
        b->setVisible(visible);
}

bool RecordNavigator::isButtonVisible(const QString &key) const
{
    const QToolButton *b = m_buttons.value(key.toUpper());
    return b && !b->isHidden();
}

void RecordNavigator::AddCommand(const QString &key, const QString &caption, const QString &)
{
    if (!m_buttons.contains(key.toUpper()))
        addButton(key, caption);
}

bool RecordNavigator::hasCommand(const QString &key) const { return m_buttons.contains(key.toUpper()); }

void RecordNavigator::setCommandEnabled(const QString &key, bool enabled)
{
    if (QToolButton *b = m_buttons.value(key.toUpper()))
        b->setEnabled(enabled);
}

bool RecordNavigator::isCommandEnabled(const QString &key) const
{
    const QToolButton *b = m_buttons.value(key.toUpper());
    return b && b->isEnabled();
}

QToolButton *RecordNavigator::button(const QString &key) const { return m_buttons.value(key.toUpper()); }

void RecordNavigator::setOption(int index, bool value)
{
    if (index >= 0 && index < m_options.size())
        m_options[index] = value;
}

bool RecordNavigator::option(int index) const
{
    return index >= 0 && index < m_options.size() && m_options.at(index);
}

void RecordNavigator::setChanged(bool changed) { setOption(5, changed); }
bool RecordNavigator::changed() const { return option(5); }

void RecordNavigator::setCalledMode(bool called, bool second)
{
    m_called = called;
    m_calledSecond = second;
}

bool RecordNavigator::calledMode() const { return m_called; }

void RecordNavigator::setConfirmDelete(std::function<bool()> confirm) { m_confirmDelete = std::move(confirm); }

bool RecordNavigator::press(const QString &key)
{
    const ado::ReadScope action;
    const QString upper = key.toUpper();
    const QString shown = m_keys.value(upper, key);
    if (QToolButton *b = m_buttons.value(upper); b && !b->isEnabled())
        return false;
    const bool deleting = upper == QLatin1String("ELIMINA");
    // Without a record on display there is nothing to delete: the button does nothing.
    if (deleting && m_frame && m_frame->Status() != DataFrame::StatusRecord)
        return false;
    bool cancel = false;
    emit ButtonClick(&cancel, shown);
    if (cancel)
        return false;
    if (deleting && m_frame && m_confirmDelete && !m_confirmDelete())
        return false;
    bool done = true;
    if (m_frame) {
        if (upper == QLatin1String("PRIMO"))
            done = m_frame->MoveFirst();
        else if (upper == QLatin1String("PRECEDENTE"))
            done = m_frame->MovePrevious();
        else if (upper == QLatin1String("SUCCESSIVO"))
            done = m_frame->MoveNext();
        else if (upper == QLatin1String("ULTIMO"))
            done = m_frame->MoveLast();
        else if (upper == QLatin1String("NUOVO"))
            done = m_frame->AddNew();
        else if (upper == QLatin1String("CONFERMA"))
            // Without a record on display nothing is saved, and the answer says so.
            done = m_frame->Status() != DataFrame::StatusQuery && m_frame->Save(true, true, true);
        else if (upper == QLatin1String("ANNULLA"))
            done = m_frame->Undo();
        else if (upper == QLatin1String("ELIMINA"))
            done = m_frame->Delete();
    }
    if (done && upper == QLatin1String("CONFERMA"))
        setChanged(false);
    emit AfterButtonClick(done ? -1 : 0, shown);
    return done;
}
