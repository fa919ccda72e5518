#pragma once
#include "platform/backends/headless/HeadlessSession.h"
#include "tests/platform/user/MessageRecorder.h"

#include <gtest/gtest.h>

namespace kw::test {

// A headless session with the recorder; the session outlives the recorder so
// that the windows it destroys at the end no longer record.
class UserTest : public ::testing::Test {
protected:
    kw::headless::HeadlessSession session;
    MessageRecorder rec;
};

} // namespace kw::test
