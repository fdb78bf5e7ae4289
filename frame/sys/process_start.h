#pragma once

namespace stepwell {

/// Readies the process for writing files safely; call it first thing in main.
///
/// SIGXFSZ is ignored, so that a write past the file size limit (ulimit -f) fails with
/// EFBIG and is reported like any failed write, instead of ending the process with a
/// partial temporary file beside the destination.
void prepareProcess();

} // namespace stepwell
