#include "JobProgress.h"

JobProgress::~JobProgress() = default;

void JobProgress::status(const QString&) {}

void JobProgress::gauge(int) {}

bool JobProgress::keepGoing() { return true; }
