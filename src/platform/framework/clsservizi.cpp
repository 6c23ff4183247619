#include "framework/clsservizi.h"

#include "framework/clsglobal.h"
#include "framework/messageservice.h"

ClsServizi::ClsServizi(ClsGlobal *global)
    : m_global(global),
      m_trap(global ? global->messageService() : nullptr, global ? &global->textStore() : nullptr)
{
}

ClsServizi::~ClsServizi() = default;

void ClsServizi::Prepara()
{
    // The message service may have been replaced since construction (scripts, tests).
    m_trap.setMessageService(m_global ? m_global->messageService() : nullptr);
    m_trap.setTextStore(m_global ? &m_global->textStore() : nullptr);
}

void ClsServizi::Inizializza(Cinterface *contract, std::shared_ptr<ado::Connection> connection,
                             const QString &applicationTitle, quintptr windowHandle,
                             const QString &formCaption)
{
    Prepara();
    m_contract = contract;
    m_connection = std::move(connection);
    m_applicationTitle = applicationTitle;
    m_windowHandle = windowHandle;
    m_formCaption = formCaption;
}

void ClsServizi::Termina()
{
    m_contract = nullptr;
    m_connection.reset();
    m_windowHandle = 0;
}

Cinterface *ClsServizi::contract() const
{
    return m_contract;
}

std::shared_ptr<ado::Connection> ClsServizi::connection() const
{
    return m_connection;
}

QString ClsServizi::applicationTitle() const
{
    return m_applicationTitle;
}

QString ClsServizi::formCaption() const
{
    return m_formCaption;
}

ErrorTrap &ClsServizi::errorTrap()
{
    return m_trap;
}

ErrorTrap::Outcome ClsServizi::runTrapped(const QString &procedure, std::initializer_list<TrapStep> steps)
{
    return m_trap.run(procedure, steps);
}

ErrorTrap::Outcome ClsServizi::runIgnoringErrors(std::initializer_list<TrapStep> steps)
{
    return ErrorTrap::runIgnoringErrors(steps);
}

QVariant ClsServizi::nullToDefault(const QVariant &value, const QVariant &defaultValue)
{
    return !value.isValid() || value.isNull() ? defaultValue : value;
}

QString ClsServizi::escapeText(const QString &text)
{
    QString out = text;
    return out.replace(u'\'', QStringLiteral("''"));
}

int ClsServizi::messageStyle(StyleCode styleCode)
{
    switch (styleCode) {
    case StyleCode::Critical: return MsgStyle::OkOnly | MsgStyle::Critical;
    case StyleCode::Warning: return MsgStyle::OkOnly | MsgStyle::Exclamation;
    case StyleCode::Information: return MsgStyle::OkOnly | MsgStyle::Information;
    case StyleCode::Question: return MsgStyle::YesNo | MsgStyle::Question;
    default: return MsgStyle::OkOnly;
    }
}

int ClsServizi::MsgBox(const QString &caption, const QString &textId, const QString &extraText,
                       const QStringList &params, StyleCode styleCode)
{
    bool isNumber = false;
    const int id = textId.trimmed().toInt(&isNumber);
    MessageRequest request;
    request.textId = isNumber ? id : 0;
    request.params = params;
    request.title = caption.isEmpty() ? m_formCaption : caption;
    request.style = messageStyle(styleCode);
    if (isNumber && m_global)
        request.text = m_global->text(id, params);
    else
        request.text = TextStore::substitute(textId, params);
    if (!extraText.isEmpty())
        request.text += QStringLiteral("\n") + extraText;

    MessageService *service = m_global ? m_global->messageService() : nullptr;
    if (!service)
        return styleCode == StyleCode::Question ? MsgAnswer::Yes : MsgAnswer::Ok;
    return service->showMessage(request);
}
