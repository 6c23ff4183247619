#include "framework/guimessageservice.h"

#include "framework/frameworktexts.h"
#include "framework/textstore.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

GuiMessageService::GuiMessageService(const TextStore *texts, QWidget *parent)
    : m_texts(texts), m_parent(parent)
{
}

GuiMessageService::~GuiMessageService() = default;

void GuiMessageService::setParentWidget(QWidget *parent)
{
    m_parent = parent;
}

int GuiMessageService::showMessage(const MessageRequest &request)
{
    return run(request.title, request.text, request.style);
}

InputResult GuiMessageService::inputBox(const QString &prompt, const QString &title,
                                        const QString &defaultText)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(m_texts->text(FrameworkText::ButtonOk));
    dialog.setCancelButtonText(m_texts->text(FrameworkText::ButtonCancel));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return InputResult{accepted ? dialog.textValue() : QString(), accepted};
}

int GuiMessageService::reportError(const ErrorReport &report)
{
    const int answer = run(m_texts->text(FrameworkText::ErrorTitle), report.text,
                           MsgStyle::AbortRetryIgnore | MsgStyle::Critical);
    return answer == MsgAnswer::Retry || answer == MsgAnswer::Ignore ? answer : MsgAnswer::Abort;
}

int GuiMessageService::run(const QString &title, const QString &text, int style)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & MsgStyle::IconMask) {
    case MsgStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgStyle::Question: box.setIcon(QMessageBox::Question); break;
    case MsgStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgStyle::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }

    using Button = std::pair<int, int>;  // answer, caption id
    std::vector<Button> buttons;
    switch (style & MsgStyle::ButtonsMask) {
    case MsgStyle::OkCancel:
        buttons = {{MsgAnswer::Ok, FrameworkText::ButtonOk}, {MsgAnswer::Cancel, FrameworkText::ButtonCancel}};
        break;
    case MsgStyle::AbortRetryIgnore:
        buttons = {{MsgAnswer::Abort, FrameworkText::ButtonAbort},
                   {MsgAnswer::Retry, FrameworkText::ButtonRetry},
                   {MsgAnswer::Ignore, FrameworkText::ButtonIgnore}};
        break;
    case MsgStyle::YesNoCancel:
        buttons = {{MsgAnswer::Yes, FrameworkText::ButtonYes}, {MsgAnswer::No, FrameworkText::ButtonNo},
                   {MsgAnswer::Cancel, FrameworkText::ButtonCancel}};
        break;
    case MsgStyle::YesNo:
        buttons = {{MsgAnswer::Yes, FrameworkText::ButtonYes}, {MsgAnswer::No, FrameworkText::ButtonNo}};
        break;
    case MsgStyle::RetryCancel:
        buttons = {{MsgAnswer::Retry, FrameworkText::ButtonRetry}, {MsgAnswer::Cancel, FrameworkText::ButtonCancel}};
        break;
    default:
        buttons = {{MsgAnswer::Ok, FrameworkText::ButtonOk}};
        break;
    }

    std::vector<std::pair<QAbstractButton *, int>> made;
    for (const auto &[answer, captionId] : buttons) {
        QPushButton *button = box.addButton(m_texts->text(captionId), QMessageBox::ActionRole);
        made.emplace_back(button, answer);
    }
    box.setDefaultButton(static_cast<QPushButton *>(made.front().first));
    // Closing the box with Esc or the title bar gives the way out: the last answer, and for an
    // error report "Abbandona", which leaves the procedure.
    const bool errorBox = (style & MsgStyle::ButtonsMask) == MsgStyle::AbortRetryIgnore;
    const auto &escape = errorBox ? made.front() : made.back();
    box.setEscapeButton(escape.first);
    box.exec();
    for (const auto &[button, answer] : made) {
        if (box.clickedButton() == button)
            return answer;
    }
    return escape.second;
}
