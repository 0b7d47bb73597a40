#include "support/firmware_sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nx7 {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

struct KnownAnswer {
  std::string message;
  const char16_t* digest;
};

// FIPS 180-4 examples, a million 'a', and the lengths around the padding's block edges (55 bytes
// still fit the length into the last block, 56 do not), checked with sha256sum.
std::vector<KnownAnswer> KnownAnswers() {
  return {
      {"", u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       u"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmno"
       "ijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
       u"cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), u"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(55, 'a'), u"9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), u"b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(63, 'a'), u"7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {std::string(64, 'a'), u"ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(65, 'a'), u"635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
      {std::string(119, 'a'), u"31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
  };
}

TEST(Sha256, GivesTheKnownDigests) {
  for (const KnownAnswer& k : KnownAnswers()) {
    EXPECT_EQ(Sha256Hex(Sha256Of(Bytes(k.message))), k.digest) << k.message.size() << " bytes";
  }
}

TEST(Sha256, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
  for (const KnownAnswer& k : KnownAnswers()) {
    const std::vector<uint8_t> bytes = Bytes(k.message);
    for (size_t piece : {1u, 3u, 55u, 63u, 64u, 65u, 1000u}) {
      Sha256 hash;
      for (size_t at = 0; at < bytes.size(); at += piece)
        hash.Add(std::span(bytes).subspan(at, std::min(piece, bytes.size() - at)));
      EXPECT_EQ(Sha256Hex(hash.Finish()), k.digest) << bytes.size() << " bytes in pieces of " << piece;
    }
  }
}

TEST(Sha256, ParsesDigestsAsManifestsWriteThem) {
  const std::u16string lower = u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const Sha256Digest abc = Sha256Of(Bytes("abc"));
  struct Case {
    std::u16string text;
    bool parses;
  } cases[] = {
      {lower, true},
      {u"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", true},
      {u"\n  " + lower + u"\r\n\t", true},
      {u"", false},
      {lower.substr(0, 63), false},
      {lower + u"0", false},
      {lower.substr(0, 63) + u"g", false},
      {lower.substr(0, 32) + u" " + lower.substr(32, 31), false},
  };
  for (const Case& c : cases) {
    Sha256Digest parsed{};
    EXPECT_EQ(ParseSha256Hex(c.text, parsed), c.parses) << std::string(c.text.begin(), c.text.end());
    if (c.parses) {
      EXPECT_EQ(parsed, abc);
    }
  }
}

}  // namespace
}  // namespace nx7
