#pragma once

#include "framework/messageservice.h"

class QWidget;
class TextStore;

// Message service of the interactive host: QMessageBox and QInputDialog with the button
// captions taken from the text store.
class GuiMessageService : public MessageService
{
public:
    explicit GuiMessageService(const TextStore *texts, QWidget *parent = nullptr);
    ~GuiMessageService() override;

    void setParentWidget(QWidget *parent);

    int showMessage(const MessageRequest &request) override;
    InputResult inputBox(const QString &prompt, const QString &title,
                         const QString &defaultText) override;
    int reportError(const ErrorReport &report) override;

private:
    int run(const QString &title, const QString &text, int style);

    const TextStore *m_texts;
    QWidget *m_parent;
};
