#include "net/internal/request.h"
