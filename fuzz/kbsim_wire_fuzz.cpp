// The byte stream between Quorva.dll and kbsim, cut into pieces of sizes taken from the input:
// every frame read encodes back to the bytes it was read from.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/support/fuzz_input.h"
#include "sim/kbsim/wire_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vendrel::sim::wire;
  vendrel::fuzz::FuzzInput input(data, size);
  const std::uint8_t piece = static_cast<std::uint8_t>(input.U8() | 1);
  const auto stream = input.Rest();

  FrameReader reader;
  std::vector<std::uint8_t> reencoded;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    reader.Feed(stream.subspan(at, std::min<std::size_t>(piece, stream.size() - at)));
    while (auto frame = reader.Next()) {
      if (frame->payload.size() > kMaxPayload) std::abort();
      const auto bytes = EncodeFrame(frame->type, frame->payload);
      if (bytes.empty()) std::abort();
      reencoded.insert(reencoded.end(), bytes.begin(), bytes.end());
    }
  }
  // The frames read are the stream's first bytes, unchanged.
  if (reencoded.size() > stream.size() ||
      !std::equal(reencoded.begin(), reencoded.end(), stream.begin()))
    std::abort();
  if (reader.Corrupt() && reader.Next()) std::abort();
  return 0;
}
