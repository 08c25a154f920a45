#pragma once
// The seed file: demo add-ons with reviews, written into a new database once so that the
// demo program has ratings and several pages of reviews to show. JSON:
//   {"plugs": [{"browser_id": 1, "plug_id": "...", "name": "...", "introduction": "...",
//               "reviews": [{"nickname": "...", "content": "...", "ver": "1.2",
//                            "score": 4, "date": "2024-03-01", "likes": 3,
//                            "dislikes": 0}]}]}
// "likes", "dislikes", "ver", "name" and "introduction" may be left out.
#include <string>
#include <vector>

#include "rating_store.h"

namespace orvo::service {

bool ReadSeedFile(const std::string& path, std::vector<SeedPlug>* plugs, std::string* error);

}  // namespace orvo::service
