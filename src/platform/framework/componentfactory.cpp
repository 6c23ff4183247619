#include "framework/componentfactory.h"

ComponentFactory::~ComponentFactory() = default;
