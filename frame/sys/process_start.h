// SPDX-License-Identifier: MIT
#pragma once

namespace stepwell {

/// Readies the process for writing files safely; call it first thing in main.
///
/// - A standard descriptor (0, 1 or 2) that is closed gets /dev/null, opened the other way
///   round, so that using it still fails as on a closed descriptor ("Bad file descriptor")
///   while none of Stepwell's own files can take its number and be written as, say,
///   standard output.
/// - SIGXFSZ is ignored, so that a write past the file size limit (ulimit -f) fails with
///   EFBIG and is reported like any failed write, instead of ending the process with a
///   partial temporary file beside the destination.
void prepareProcess();

} // namespace stepwell
