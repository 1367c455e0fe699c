#pragma once
#include "a.h"
