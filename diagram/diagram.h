// Everything the T-s chart offers: frame and mapping, dome and isobars, isenthalps,
// overlays, the shared text buffer and the whole repaint.
#pragma once

#include "diagram/chart.h"
#include "diagram/dome_isobars.h"
#include "diagram/frame.h"
#include "diagram/isenthalps.h"
#include "diagram/isobar_table.h"
#include "diagram/isolines.h"
#include "diagram/overlays.h"
#include "diagram/text_buffer.h"
