#include "messageservice.h"

MessageService::~MessageService() = default;
