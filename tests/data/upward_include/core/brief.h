#include "generate/spider.h"
