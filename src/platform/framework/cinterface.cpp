#include "framework/cinterface.h"

Cinterface::~Cinterface() = default;
