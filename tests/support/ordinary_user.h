// SPDX-License-Identifier: MIT
#pragma once

namespace stepwell::test {

/// For a test about permission bits, which do not stop root: when this process runs as
/// root, runs the current test again, alone, in a new process of this test program as the
/// ordinary user 65534 (through setpriv), makes its outcome this test's, and returns true;
/// the caller then returns at once. For any other user returns false, and the test runs
/// here. The new process makes its own temporary folders, as that user.
bool rerunAsOrdinaryUser();

} // namespace stepwell::test
