// Reducing Word's style sheet to its normal paragraph style, so that small
// pages that copy it do not look wrong.
#pragma once

namespace zavio {

class CConversionState;

// Shortens the run's header lines in place: the font definitions and every
// style rule after the normal paragraph's go.
void SimplifyHeader(CConversionState& run);

}  // namespace zavio
