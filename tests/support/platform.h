#pragma once

// Tests of what only POSIX systems have (file modes and owners, FIFOs and
// devices, O_TMPFILE, signals, setpriv) stay in the suite on Windows and are
// skipped there with their reason:
//
//     TEST(Suite, Name)
//     {
//         SKIP_ON_WINDOWS("file modes");
//     #ifndef _WIN32
//         ...
//     #endif
//     }

#include <gtest/gtest.h>

#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "POSIX only: " << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(reason)
#endif
