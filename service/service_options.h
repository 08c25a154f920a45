#pragma once
// Command line of orvo-rating-service.
#include <string>

#include "http_front.h"
#include "key_registry.h"
#include "rating_store.h"

namespace orvo::service {

struct ServiceOptions {
  std::string db_path = "orvo-rating.db";
  std::string seed_path;  // empty: no seeding
  FrontOptions front;
  KeyLimits keys;
  StoreOptions store;
  bool help = false;
};

bool ParseServiceOptions(int argc, const char* const* argv, ServiceOptions* options,
                         std::string* error);
const char* ServiceUsage();

}  // namespace orvo::service
