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
    // Disables the first count tabs with the page on show staying on show: the current tab is
    // disabled last, when no tab is left to move to.
    void disableTabs(int count);
    QString tabCaption(int index) const;
    // Shows the next (step 1) or previous (step -1) enabled tab, going round the strip; false
    // when no other tab can be shown.
    bool stepTab(int step);
    // Qt lays a widget out only while it is on show: controls changed on the pages behind leave
    // those pages, and the window sized from them, as they were. Lays those pages out from the
    // innermost widget outwards and passes a new size on: true when a page changed size.
    bool layOutHiddenPages();

    // Adds a page whose caption carries its access key: the letter after "&", or else the given
    // key is marked in the caption.
    int addPage(QWidget *page, const QString &caption, QChar accessKey);

signals:
    void TabChanged(int index);
};
