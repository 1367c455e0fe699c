#pragma once
#include "daten.h"
