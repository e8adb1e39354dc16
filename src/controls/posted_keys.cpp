#include "controls/posted_keys.h"

#include <utility>

#include "controls/keys.h"

namespace kavrin {

void PostChar(TControllerState& s, char ch) { s.Posted.push_back(TPostedKey{ch, 0}); }

void PostKey(TControllerState& s, int32_t virtualKey) { s.Posted.push_back(TPostedKey{0, virtualKey}); }

void DeliverPosted(TControls& c, TControllerState& s) {
  std::vector<TPostedKey> keys = std::exchange(s.Posted, {});
  for (const TPostedKey& k : keys) {
    if (k.Key != 0) {
      keydowns(c, k.Key, false);
      keyups(c, k.Key, false);
    } else {
      AsciiDown(c, k.Char);
    }
  }
}

}  // namespace kavrin
