#pragma once
#include "support/loopback_server.h"
