#pragma once
// The demo site of the rating service (service/demo-site), served by a loopback server the
// way the service serves it: text files with {{BASE_URL}} turned into the server's address.
// Natively only (it reads the source tree).
#include <string>

#include "support/loopback_server.h"

namespace orvo::test {

// Serves every file under the site folder at its path; false when the folder is missing.
bool ServeDemoSite(LoopbackServer& server);

}  // namespace orvo::test
