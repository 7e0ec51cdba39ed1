#include "Messages.h"

Messages::~Messages() = default;

void Messages::beep() {}
