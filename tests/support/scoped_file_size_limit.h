#pragma once
#include "support/scoped_environment.h"
