#pragma once

#include "framework/iform.h"

#include <QPointer>
#include <QWidget>

class QMdiSubWindow;

// A form that lives as an MDI child of the host (or as its own window when the host has no
// MDI area, or when shown modal). Closing the window, by the user or by unload(), runs
// queryUnload() and, unless it cancels, unloadForm().
class MdiForm : public QWidget, public IForm
{
    Q_OBJECT
public:
    explicit MdiForm(const QString &formName, QWidget *parent = nullptr);
    ~MdiForm() override;

    QWidget *widget() override;
    QString formName() const override;
    void setGcls_Interface(Cinterface *contract) override;
    Cinterface *Gcls_Interface() const override;
    void setGcls_Parent(QObject *parent) override;
    QObject *Gcls_Parent() const override;
    void setCaption(const QString &caption) override;
    // The caption as the host set it, without the mark of pending changes.
    QString caption() const;
    // Marks the title while the window holds changes not yet saved (the "*" of the host's
    // windows), so the user sees there is something to save.
    void setPendingChanges(bool pending);
    bool hasPendingChanges() const;
    void showModal() override;
    void showModeless() override;
    void unload() override;
    void release() override;

    QMdiSubWindow *subWindow() const;
    // Keeps the sub-window inside the host's area, shrinking it when the area is smaller; with
    // grow, first widens it to what the form asks for.
    void fitIntoArea(bool grow = false);

signals:
    void unloaded();

protected:
    // Form_QueryUnload: set *cancel to keep the window open.
    virtual void queryUnload(bool *cancel);
    // Form_Unload: the default tells the host the window closes and empties Gcls_Interface.
    virtual void unloadForm();
    // Empties Gcls_Interface and the parent, telling nobody: for a form that notifies the
    // host itself.
    void releaseContract();

    // The sub-window's size for the form, at least `least`, within the host's area. A form
    // taller than the area scrolls down, so the window takes the vertical bar's width besides:
    // scrolling down never costs the form its width.
    QSize fittingFrameSize(QSize least) const;

    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:

    QString m_formName;
    QString m_caption;
    Cinterface *m_interface = nullptr;
    QObject *m_parentClass = nullptr;
    QPointer<QMdiSubWindow> m_subWindow;
};
