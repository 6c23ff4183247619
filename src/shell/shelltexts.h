#pragma once

#include <QString>

// Ids of the shell's texts (texts/shell.tsv, loaded after the host's and the module's).
namespace ShellText {
enum : int {
    MainTitle = 991001,
    MenuContabilita = 991002,
    WindowCaption = 991003,
    MenuFile = 991004,
    ActionExit = 991005,
    CompanyLabel = 991006,
    StatusUser = 991007,
    StatusDatabase = 991008,
    ModuleUnavailable = 991009,     // %1 window, %2 reason
    CompaniesUnreadable = 991010,   // %1 reason
    NavigatorTitle = 991011,
    NavFirst = 991012,              // ... through NavQuery, in ActiveNavigator::Command order
    NavQuery = 991020,
    MenuWindows = 991021,
    ActionTile = 991022,
    ActionCascade = 991023,
    StatusReady = 991024,
    ScreenshotFailed = 991025,      // %1 file
    WarningTitle = 991026,
    DemoDatabaseFailed = 991027,    // %1 reason
    OptionDb = 991030,
    OptionCompany = 991031,
    OptionUser = 991032,
    OptionCausale = 991033,
    OptionModal = 991034,
    OptionScreenshot = 991035,
    OptionScript = 991036,
    OptionInvalid = 991037,         // %1 option, %2 value
    Description = 991038,
    OptionHelp = 991039,
    OptionTab = 991040,
    ScriptFailed = 991041,          // %1 file, %2 reason
    ScriptTimedOut = 991042,        // %1 milliseconds
    ScriptError = 991043,           // %1 error, %2 line
    MenuRecord = 991044,
    ShortcutTip = 991045,           // %1 command, %2 shortcut
    ScriptUnknownControl = 991060,  // %1 name
    ScriptNoAction = 991061,        // %1 name, %2 call
    ScriptUnknownColumn = 991062,   // %1 grid, %2 column
    ScriptReadOnly = 991063,        // %1 statement
    DatabaseUnopenable = 991064,    // %1 connection (password masked), %2 reason
    WindowNotStarted = 991065,      // %1 script file
    UnansweredError = 991066        // %1 the error report
};

QString file();
}
