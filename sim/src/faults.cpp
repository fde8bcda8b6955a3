// SPDX-License-Identifier: GPL-3.0-or-later
// Named fault profiles for the standalone radio and for tests.
#include <qxsim.h>

namespace qxsim {

bool faultProfile(const std::string& name, Faults& out)
{
    using std::chrono::milliseconds;
    Faults f;
    if (name == "none" || name.empty()) {
    } else if (name == "noise") {
        f.noise = 0.01;
    } else if (name == "lossy") {
        f.drop = 0.005;
        f.duplicate = 0.005;
        f.dropReceived = 0.002;
    } else if (name == "split") {
        f.splitAt = 3;
        f.splitPause = milliseconds(30);
    } else if (name == "slow") {
        f.delay = milliseconds(150);
    } else if (name == "silent") {
        f.silent = true;
    } else if (name == "rough") {
        f.noise = 0.005;
        f.drop = 0.002;
        f.duplicate = 0.002;
        f.splitAt = 4;
        f.splitPause = milliseconds(20);
        f.delay = milliseconds(40);
    } else {
        return false;
    }
    out = f;
    return true;
}

}  // namespace qxsim
