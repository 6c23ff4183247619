#include "framework/iform.h"

IForm::~IForm() = default;
FormFactory::~FormFactory() = default;
