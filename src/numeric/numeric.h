#pragma once
// Every header of the numerical library.
#include "numeric/distributions.h"
#include "numeric/means_distributions.h"
#include "numeric/noncentral.h"
#include "numeric/studentized_range.h"
#include "numeric/waller_duncan.h"
