#include "shell/shelloptions.h"

#include "framework/clsglobal.h"
#include "framework/textstore.h"
#include "shell/shelltexts.h"

#include <QCommandLineParser>

bool ShellOptions::parse(const QStringList &arguments, const TextStore &texts, QString *error,
                         bool *helpRequested, QString *helpText)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(texts.text(ShellText::Description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, texts.text(ShellText::OptionHelp));
    parser.addOption(help);
    const QCommandLineOption db(QStringLiteral("db"), texts.text(ShellText::OptionDb), QStringLiteral("CONNSTRING"));
    const QCommandLineOption company(QStringLiteral("company"), texts.text(ShellText::OptionCompany), QStringLiteral("N"));
    const QCommandLineOption user(QStringLiteral("user"), texts.text(ShellText::OptionUser), QStringLiteral("NAME"));
    const QCommandLineOption causal(QStringLiteral("causale"), texts.text(ShellText::OptionCausale), QStringLiteral("N"));
    const QCommandLineOption modalOption(QStringLiteral("modal"), texts.text(ShellText::OptionModal));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), texts.text(ShellText::OptionScreenshot),
                                        QStringLiteral("FILE.png"));
    const QCommandLineOption script(QStringLiteral("script"), texts.text(ShellText::OptionScript), QStringLiteral("FILE.js"));
    const QCommandLineOption tab(QStringLiteral("tab"), texts.text(ShellText::OptionTab), QStringLiteral("N"));
    parser.addOptions({db, company, user, causal, modalOption, screenshot, script, tab});

    if (!parser.parse(arguments)) {
        if (error)
            *error = parser.errorText();
        return false;
    }
    if (helpRequested)
        *helpRequested = parser.isSet(help);
    if (helpText)
        *helpText = parser.helpText();

    auto number = [&](const QCommandLineOption &option, QVariant *target) {
        if (!parser.isSet(option))
            return true;
        bool ok = false;
        const QString value = parser.value(option);
        const int n = value.trimmed().toInt(&ok);
        if (!ok || n < 0) {
            if (error)
                *error = texts.text(ShellText::OptionInvalid, {option.names().first(), value});
            return false;
        }
        *target = n;
        return true;
    };
    if (!number(company, &this->company) || !number(causal, &this->causal) || !number(tab, &this->tab))
        return false;

    connectionString = parser.value(db).trimmed();
    this->user = parser.isSet(user) ? parser.value(user).trimmed() : loginName();
    modal = parser.isSet(modalOption);
    screenshotFile = parser.value(screenshot);
    scriptFile = parser.value(script);
    return true;
}

QString ShellOptions::loginName()
{
    return ClsGlobal::loginName();
}
