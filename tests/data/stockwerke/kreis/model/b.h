#pragma once
#include "c.h"
