#pragma once
#include "fenster.h"
