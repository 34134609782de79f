#include "a.h"
#define IDH_B 3
