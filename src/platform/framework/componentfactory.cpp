#include "componentfactory.h"

ComponentFactory::~ComponentFactory() = default;
