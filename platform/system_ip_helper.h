// The IP Helper of the platform the program was built for.
#pragma once

#include <memory>

#include "platform/ip_helper.h"

namespace iphlp {

std::unique_ptr<IpHelper> SystemIpHelper();

}  // namespace iphlp
