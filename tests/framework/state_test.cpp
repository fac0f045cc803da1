// Every request of the state machine from every state: allowed transitions with their
// callbacks, refused ones leaving the state as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/framework_driver.h"
#include "tests/framework/recorder.h"

namespace {

struct TransitionCase {
    uint8_t from;
    uint8_t to;
    uint8_t result;
    std::vector<std::string> calls;
};

const char* StateName(uint8_t s) {
    switch (s) {
        case VSTATE_RUNNING:
            return "Running";
        case VSTATE_INACTIVE:
            return "Inactive";
        case VSTATE_SUSPENDED:
            return "Suspended";
        case VSTATE_STARTING:
            return "Starting";
        case VSTATE_STOPPING:
            return "Stopping";
        default:
            return "Exited";
    }
}

// Brings a fresh application (which starts in STARTING) to a state through allowed steps.
void Reach(ClassVane& app, uint8_t state) {
    switch (state) {
        case VSTATE_RUNNING:
            VFrameworkDriver::SetState(app, VSTATE_RUNNING);
            break;
        case VSTATE_INACTIVE:
            VFrameworkDriver::SetState(app, VSTATE_RUNNING);
            VFrameworkDriver::SetState(app, VSTATE_INACTIVE);
            break;
        case VSTATE_SUSPENDED:
            VFrameworkDriver::SetState(app, VSTATE_RUNNING);
            VFrameworkDriver::SetState(app, VSTATE_SUSPENDED);
            break;
        case VSTATE_STOPPING:
            VFrameworkDriver::SetState(app, VSTATE_STOPPING);
            break;
        case VSTATE_EXITED:
            VFrameworkDriver::SetState(app, VSTATE_STOPPING);
            VFrameworkDriver::SetState(app, VSTATE_EXITED);
            break;
        default:
            break;
    }
}

class StateTransitions : public testing::TestWithParam<TransitionCase> {};

TEST_P(StateTransitions, AllowedOrIgnored) {
    const TransitionCase& c = GetParam();
    VHeadlessPlatform platform;
    VPlatformInstance instance;
    instance.layer = &platform;
    RecorderLog log;
    RecorderScript script;
    Recorder app(log, script);
    VFrameworkDriver::Attach(app, &instance, 0, "", 0);
    Reach(app, c.from);
    ASSERT_EQ(app.State(), c.from);
    log.calls.clear();
    VFrameworkDriver::SetState(app, c.to);
    EXPECT_EQ(app.State(), c.result);
    EXPECT_EQ(log.calls, c.calls);
}

constexpr uint8_t R = VSTATE_RUNNING, I = VSTATE_INACTIVE, S = VSTATE_SUSPENDED,
                  B = VSTATE_STARTING, P = VSTATE_STOPPING, X = VSTATE_EXITED;
const std::vector<std::string> kNone;
const std::vector<std::string> kResume{"OnResume"};
const std::vector<std::string> kSuspend{"OnSuspend"};
const std::vector<std::string> kExit{"OnExit"};

INSTANTIATE_TEST_SUITE_P(
    States, StateTransitions,
    testing::Values(
        // To RUNNING: from INACTIVE (suspend-when-inactive is set by default) and SUSPENDED
        // with OnResume; from STARTING silently; refused elsewhere.
        TransitionCase{R, R, R, kNone}, TransitionCase{I, R, R, kResume},
        TransitionCase{S, R, R, kResume}, TransitionCase{B, R, R, kNone},
        TransitionCase{P, R, P, kNone}, TransitionCase{X, R, X, kNone},
        // To INACTIVE: from RUNNING only.
        TransitionCase{R, I, I, kNone}, TransitionCase{I, I, I, kNone},
        TransitionCase{S, I, S, kNone}, TransitionCase{B, I, B, kNone},
        TransitionCase{P, I, P, kNone}, TransitionCase{X, I, X, kNone},
        // To SUSPENDED: from RUNNING and INACTIVE; STARTING to SUSPENDED is ignored.
        TransitionCase{R, S, S, kSuspend}, TransitionCase{I, S, S, kSuspend},
        TransitionCase{S, S, S, kNone}, TransitionCase{B, S, B, kNone},
        TransitionCase{P, S, P, kNone}, TransitionCase{X, S, X, kNone},
        // To STARTING: from anywhere.
        TransitionCase{R, B, B, kNone}, TransitionCase{I, B, B, kNone},
        TransitionCase{S, B, B, kNone}, TransitionCase{B, B, B, kNone},
        TransitionCase{P, B, B, kNone}, TransitionCase{X, B, B, kNone},
        // To STOPPING: from the four live states.
        TransitionCase{R, P, P, kNone}, TransitionCase{I, P, P, kNone},
        TransitionCase{S, P, P, kNone}, TransitionCase{B, P, P, kNone},
        TransitionCase{P, P, P, kNone}, TransitionCase{X, P, X, kNone},
        // To EXITED: OnExit only from STOPPING; straight from STARTING without it.
        TransitionCase{R, X, R, kNone}, TransitionCase{I, X, I, kNone},
        TransitionCase{S, X, S, kNone}, TransitionCase{B, X, X, kNone},
        TransitionCase{P, X, X, kExit}, TransitionCase{X, X, X, kNone}),
    [](const testing::TestParamInfo<TransitionCase>& info) {
        return std::string(StateName(info.param.from)) + "To" + StateName(info.param.to);
    });

}  // namespace
