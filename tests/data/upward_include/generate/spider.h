#include "core/brief.h"
