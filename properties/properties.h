// The whole water and steam property library.
#pragma once

#include "properties/saturation_line.h"
#include "properties/subregion1.h"
#include "properties/subregion2.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"
#include "properties/volume_search.h"
