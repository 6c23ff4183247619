#include "cinterface.h"

Cinterface::~Cinterface() = default;
