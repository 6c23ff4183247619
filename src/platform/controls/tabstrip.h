#pragma once

#include <QTabWidget>

// Tab strip with per-tab enabling. Tab is the current tab; choosing a disabled tab by code
// leaves the current one, as the user cannot open it either.
class TabStrip : public QTabWidget
{
    Q_OBJECT
    Q_PROPERTY(int Tab READ Tab WRITE setTab NOTIFY TabChanged)
    Q_PROPERTY(int tabcount READ count)

public:
    explicit TabStrip(QWidget *parent = nullptr);
    ~TabStrip() override;

    int Tab() const;
    void setTab(int index);
    bool TabEnabled(int index) const;
    // Disabling the current tab moves to the first enabled one.
    void setTabEnabledAt(int index, bool enabled);
    QString tabCaption(int index) const;

    // Adds a page whose caption carries its access key: the letter after "&", or else the given
    // key is marked in the caption.
    int addPage(QWidget *page, const QString &caption, QChar accessKey);

signals:
    void TabChanged(int index);
};
