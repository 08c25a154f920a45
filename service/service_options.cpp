// Command-line reading of orvo-rating-service; see service_options.h.
#include "service_options.h"

#include "field_values.h"

namespace orvo::service {

const char* ServiceUsage() {
  return "usage: orvo-rating-service [--db FILE] [--port N] [--site DIR] [--seed FILE]\n"
         "                           [--host ADDRESS] [--threads N] [--key-life SECONDS]\n"
         "                           [--keys-per-minute N] [--reviews-per-minute N]\n"
         "                           [--sync normal|full] [--max-connections N]\n"
         "                           [--request-timeout SECONDS] [--max-db-mb N]\n"
         "  --db FILE              SQLite database, created when missing (orvo-rating.db);\n"
         "                         a URI such as file:ratings.db?mode=ro serves it read-only\n"
         "  --port N               TCP port, 0 for any free one (8086)\n"
         "  --host ADDRESS         address to listen on (127.0.0.1)\n"
         "  --site DIR             folder of notice files, pages and adverts (none)\n"
         "  --seed FILE            demo data written into a database once (none)\n"
         "  --threads N            request threads (8)\n"
         "  --key-life SECONDS     how long a session key is accepted (900)\n"
         "  --keys-per-minute N    key grants per client address and minute, 0 = no limit (30)\n"
         "  --reviews-per-minute N reviews stored per key and minute, 0 = no limit (5)\n"
         "  --sync normal|full     full: every commit survives a power cut (normal)\n"
         "  --max-connections N    open client connections; beyond it the longest waiting\n"
         "                         one is closed (512)\n"
         "  --request-timeout SECONDS  time a new connection has to send its request (10)\n"
         "  --max-db-mb N          largest database size; beyond it writes fail (no limit)\n"
         "The first line on standard output is \"listening on http://HOST:PORT\"; then one\n"
         "line per request. SIGINT or SIGTERM stops the service.\n";
}

bool ParseServiceOptions(int argc, const char* const* argv, ServiceOptions* options,
                         std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      options->help = true;
      continue;
    }
    if (i + 1 >= argc) {
      *error = name.starts_with("--") ? name + " needs a value" : "unknown argument " + name;
      return false;
    }
    const std::string value = argv[++i];
    auto number = [&](int64_t min, int64_t max) -> std::optional<int64_t> {
      const auto parsed = ParseWholeNumber(value, min, max);
      if (!parsed)
        *error =
            name + " needs a number from " + std::to_string(min) + " to " + std::to_string(max);
      return parsed;
    };
    if (name == "--db") {
      options->db_path = value;
    } else if (name == "--seed") {
      options->seed_path = value;
    } else if (name == "--site") {
      options->front.site_dir = value;
    } else if (name == "--host") {
      options->front.host = value;
    } else if (name == "--port") {
      const auto n = number(0, 65535);
      if (!n) return false;
      options->front.port = static_cast<int>(*n);
    } else if (name == "--threads") {
      const auto n = number(1, 256);
      if (!n) return false;
      options->front.threads = static_cast<int>(*n);
    } else if (name == "--max-connections") {
      const auto n = number(16, 100'000);
      if (!n) return false;
      options->front.max_connections = static_cast<size_t>(*n);
    } else if (name == "--request-timeout") {
      const auto n = number(1, 3600);
      if (!n) return false;
      options->front.request_seconds = static_cast<int>(*n);
    } else if (name == "--max-db-mb") {
      const auto n = number(1, 1'000'000);
      if (!n) return false;
      options->store.max_bytes = *n * 1024 * 1024;
    } else if (name == "--key-life") {
      const auto n = number(1, int64_t{86400} * 30);
      if (!n) return false;
      options->keys.key_life_seconds = *n;
    } else if (name == "--keys-per-minute") {
      const auto n = number(0, 1'000'000);
      if (!n) return false;
      options->keys.keys_per_minute_per_address = static_cast<int>(*n);
    } else if (name == "--reviews-per-minute") {
      const auto n = number(0, 1'000'000);
      if (!n) return false;
      options->keys.reviews_per_minute_per_key = static_cast<int>(*n);
    } else if (name == "--sync" && (value == "normal" || value == "full")) {
      options->store.full_sync = value == "full";
    } else {
      *error = "unknown option " + name;
      *error += " " + value;
      return false;
    }
  }
  return true;
}

}  // namespace orvo::service
