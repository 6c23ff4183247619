#pragma once

#include <QString>

// Ids of the framework's own texts (texts/framework.tsv, loaded before the host's texts).
namespace FrameworkText {
enum : int {
    ButtonOk = 990001,
    ButtonCancel = 990002,
    ButtonAbort = 990003,
    ButtonRetry = 990004,
    ButtonIgnore = 990005,
    ButtonYes = 990006,
    ButtonNo = 990007,
    ErrorTrapReport = 990010,   // %1 procedure, %2 error number, %3 description
    ErrorTitle = 990011,
    UnknownError = 990012,      // description of an error that carries none
    InformationTitle = 990013,
    DatabaseBusy = 990014       // another session holds a lock past the wait
};

// Resource path of the framework's text file.
QString file();
}
