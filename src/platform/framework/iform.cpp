#include "iform.h"

IForm::~IForm() = default;
FormFactory::~FormFactory() = default;
