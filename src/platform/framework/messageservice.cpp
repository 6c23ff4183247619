#include "framework/messageservice.h"

MessageService::~MessageService() = default;
