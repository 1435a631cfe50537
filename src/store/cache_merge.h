#pragma once
// Joins a read of the keyboard with the cache file's settings when the keyboard connects. The
// keyboard holds only what its key maps and macro memory carry; the texts, the colour-keys flags,
// the G keys, block 3, macro ids and other parts of a record or macro the keyboard has no room for
// live only in the program. The keyboard stays the truth for what it holds, the cache adds the rest.
#include "keys/key_map_codec.h"
#include "store/key_store.h"
#include "store/keyboard_settings.h"

namespace vendrel::store {

// Fills out (cleared first) with the keyboard's settings decoded against factory, joined with
// cache:
// - A record whose key map entries, encoded from the cache with the cache's macros, are the ones
//   the keyboard holds is the cache's whole, its text included. A record with no entry of its own
//   (a G key, block 3, a slot without a key position) always is. Every other record is the
//   keyboard's, without text but with the cache's colour flag and reserved field: those belong to
//   a button position, not to the key's assignment.
// - The macros are the keyboard's, in its order. One whose cycles, actions as the keyboard plays
//   them and name (where the keyboard holds one) are those of the cached macro at the same place
//   is that cached macro whole; the others take ids that no kept macro holds.
// - A macro assignment names the macro that now stands where the macro it named stood; one that
//   named no macro keeps its id unless a macro of out now holds it.
// - The header (its descriptor) is the cache's; offsets of texts are laid out when out is saved.
// Nobody else may see out or cache meanwhile. Throws std::bad_alloc when memory runs out.
void MergeCachedSettings(const KeyboardSettings& keyboard, keys::KeyMapView factory,
                         const KeyStore& cache, KeyStore& out);

}  // namespace vendrel::store
