#include "framework/activenavigator.h"

ActiveNavigator::ActiveNavigator(QObject *parent) : QObject(parent) {}

ActiveNavigator::~ActiveNavigator() = default;
