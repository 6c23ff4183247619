#pragma once

#include "errortrap.h"

// Database errors reach the error report with the provider's number and message, and the
// statement that failed on a line of its own.
ErrorTrap::Classifier adoErrorClassifier();
