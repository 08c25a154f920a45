#pragma once
// Whether the bytes a client has sent so far make a whole request. The service reads
// ahead of its request threads and hands a connection to one only when its request has
// fully arrived, so a client that connects and stalls (before or in the middle of its
// headers, or with a body shorter than it announced) costs a socket, never a thread.
#include <cstddef>
#include <string_view>

namespace orvo::service {

struct ArrivalLimits {
  size_t max_header_bytes = size_t{16} * 1024;  // request line and headers
  size_t max_body = size_t{64} * 1024;
};

enum class Arrival {
  kIncomplete,       // more is to come
  kComplete,         // hand it to the server (which also answers malformed requests)
  kHeadersTooLarge,  // 431
  kBodyTooLarge,     // 413, without reading the body
};

// peer_ended: the client has closed its sending side, so nothing more will come; what
// arrived is then complete as far as it goes, and the server answers it.
Arrival CheckArrival(std::string_view bytes, bool peer_ended, const ArrivalLimits& limits);

}  // namespace orvo::service
