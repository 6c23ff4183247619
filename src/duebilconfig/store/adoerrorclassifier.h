#pragma once

#include "framework/errortrap.h"

class TextStore;
namespace ado {
class AdoError;
}

// Database errors reach the error report with the provider's number and message, and the
// statement that failed on a line of its own. A lock another session holds past the wait reads
// the same on every database, in the user's words before the provider's.
ErrorTrap::Classifier adoErrorClassifier(const TextStore *texts = nullptr);
// The description alone, without the statement.
QString adoErrorDescription(const ado::AdoError &error, const TextStore *texts);
