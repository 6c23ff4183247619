#pragma once

#include <QHash>
#include <QPointer>
#include <QVector>
#include <QWidget>
#include <functional>

class DataFrame;
class QHBoxLayout;
class QToolButton;

// The record navigator of a data frame: buttons by key ("Primo", "Precedente", "Successivo",
// "Ultimo", "Nuovo", "Conferma", "Annulla", "Elimina") plus the commands a form adds. A button
// raises ButtonClick (which may cancel), acts on the frame, then raises AfterButtonClick. The
// host's tool bar presses the same buttons through press().
class RecordNavigator : public QWidget
{
    Q_OBJECT

public:
    explicit RecordNavigator(QWidget *parent = nullptr);
    ~RecordNavigator() override;

    void setHostInterface(QObject *contract);
    void setFrame(DataFrame *frame);
    DataFrame *frame() const;

    // Which standard buttons the design shows (primo, precedente, ... as in the design).
    void setButtonVisible(const QString &key, bool visible);
    bool isButtonVisible(const QString &key) const;

    void AddCommand(const QString &key, const QString &caption, const QString &reference);
    Q_INVOKABLE bool hasCommand(const QString &key) const;
    void setCommandEnabled(const QString &key, bool enabled);
    bool isCommandEnabled(const QString &key) const;
    // The button of a key, as a user's hands find it (null for an unknown key).
    QToolButton *button(const QString &key) const;

    // The six options of the navigator; the last one says the record has changes to confirm.
    void setOption(int index, bool value);
    bool option(int index) const;
    void setChanged(bool changed);
    bool changed() const;

    // Called mode (opened by another program) and its companion flag.
    void setCalledMode(bool called, bool second);
    bool calledMode() const;

    // Asked before "Elimina" deletes the record on display; false keeps the record.
    void setConfirmDelete(std::function<bool()> confirm);

    // Presses a button or command by key (case-insensitive); false when it was cancelled.
    Q_INVOKABLE bool press(const QString &key);

signals:
    void ButtonClick(bool *cancel, const QString &key);
    void AfterButtonClick(int result, const QString &key);

private:
    QToolButton *addButton(const QString &key, const QString &caption);

    QPointer<QObject> m_contract;
    QPointer<DataFrame> m_frame;
    QHBoxLayout *m_layout;
    QHash<QString, QToolButton *> m_buttons;   // upper-case key
    QHash<QString, QString> m_keys;            // upper-case key -> key as added
    std::function<bool()> m_confirmDelete;
    QVector<bool> m_options = QVector<bool>(6, false);
    bool m_called = false;
    bool m_calledSecond = false;
};
