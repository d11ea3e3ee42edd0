#include "list/row_order.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "objects/code_page.h"

namespace quillet {

int CompareCellTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = FoldCase(static_cast<unsigned char>(a[i]));
    const int y = FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

namespace {

// The folded bytes a key holds; its twelfth byte says how many bytes are left. Eleven bytes
// hold a whole type, ID, date, time or size, so those columns sort on one key.
constexpr std::size_t kKeyBytes = 11;
constexpr std::uint32_t kGoesOn = kKeyBytes + 1;

// A text's key at an offset that all texts it is compared with share up to: its next 11 folded
// bytes, as one big number, then how many bytes the text has from the offset on (12 for more
// than 11). Keys order as the texts do from that offset: a text that ends goes before its
// continuations, also those that go on with bytes that fold to 0. Texts whose keys are equal
// and both go on are told apart by their keys at the next offset.
struct Keyed {
  std::uint64_t high = 0;
  std::uint32_t low = 0;
  std::uint32_t position = 0;

  // `filled`: where the text's filling blanks begin. Blanks are not read, so a text whose rest
  // is blanks costs no read of its record.
  void Key(std::string_view text, std::size_t filled, std::size_t offset) {
    const std::size_t left = text.size() > offset ? text.size() - offset : 0;
    const std::size_t used = std::min(left, kKeyBytes);
    const std::size_t read = filled > offset ? std::min(filled - offset, used) : 0;
    unsigned char bytes[kKeyBytes] = {};
    for (std::size_t i = 0; i < read; ++i) {
      bytes[i] = FoldCase(static_cast<unsigned char>(text[offset + i]));
    }
    for (std::size_t i = read; i < used; ++i) bytes[i] = ' ';
    high = 0;
    for (std::size_t i = 0; i < 8; ++i) high = high << 8 | bytes[i];
    low = 0;
    for (std::size_t i = 8; i < kKeyBytes; ++i) low = low << 8 | bytes[i];
    low = low << 8 | static_cast<std::uint32_t>(std::min<std::size_t>(left, kGoesOn));
  }
  bool GoesOn() const { return (low & 0xFF) == kGoesOn; }
  bool SameKey(const Keyed& other) const { return high == other.high && low == other.low; }
};

// Where the filling blanks at the end of `text` begin.
std::size_t Filled(std::string_view text) {
  std::size_t filled = text.size();
  while (filled > 0 && text[filled - 1] == ' ') --filled;
  return filled;
}

// The texts are cells of records all over memory: each is asked for this many texts ahead, so
// that its bytes are on their way when its key is made.
constexpr std::size_t kAhead = 16;

void Prefetch(const void* memory) {
#if defined(__GNUC__)
  __builtin_prefetch(memory);
#else
  static_cast<void>(memory);
#endif
}

// One stretch of texts equal so far, to be ordered by their keys at the next offset.
struct Stretch {
  std::size_t begin, end;
};

template <typename Before>
void SortStretch(Keyed* begin, Keyed* end, Before before) {
  // Texts that are all the same so far are in order already.
  if (!std::is_sorted(begin, end, before)) std::sort(begin, end, before);
}

void SortStretch(Keyed* begin, Keyed* end, bool ascending) {
  // Equal keys keep their positions' order, whichever way the keys go.
  if (ascending) {
    SortStretch(begin, end, [](const Keyed& a, const Keyed& b) {
      if (a.high != b.high) return a.high < b.high;
      if (a.low != b.low) return a.low < b.low;
      return a.position < b.position;
    });
  } else {
    SortStretch(begin, end, [](const Keyed& a, const Keyed& b) {
      if (a.high != b.high) return a.high > b.high;
      if (a.low != b.low) return a.low > b.low;
      return a.position < b.position;
    });
  }
}

// The keys at `offset` of the texts in `stretches`, made in one pass over all of them, so that
// texts are asked for ahead across stretches, which are mostly small. Two cursors run ahead
// over the same texts: the far one asks for where a text is, the near one for its bytes.
void RekeyStretches(const BulkVector<Stretch>& stretches, std::span<const std::string_view> texts,
                    const BulkVector<std::uint32_t>& filled, BulkVector<Keyed>& keyed,
                    std::size_t offset) {
  struct Cursor {
    std::size_t stretch = 0, k = 0, passed = 0;
  };
  const auto advance = [&](Cursor& c) {
    ++c.passed;
    if (++c.k == stretches[c.stretch].end && ++c.stretch < stretches.size()) {
      c.k = stretches[c.stretch].begin;
    }
  };
  Cursor place{0, stretches.front().begin, 0};
  Cursor bytes = place;
  std::size_t made = 0;
  for (const Stretch& stretch : stretches) {
    for (std::size_t k = stretch.begin; k < stretch.end; ++k, ++made) {
      for (; place.stretch < stretches.size() && place.passed < made + 2 * kAhead; advance(place)) {
        Prefetch(&texts[keyed[place.k].position]);
        Prefetch(&filled[keyed[place.k].position]);
      }
      for (; bytes.stretch < stretches.size() && bytes.passed < made + kAhead; advance(bytes)) {
        const std::uint32_t position = keyed[bytes.k].position;
        if (filled[position] > offset) Prefetch(texts[position].data() + offset);
      }
      const std::uint32_t position = keyed[k].position;
      keyed[k].Key(texts[position], filled[position], offset);
    }
  }
}

}  // namespace

BulkVector<std::uint32_t> SortedOrder(std::span<const std::string_view> texts, bool ascending) {
  const auto count = static_cast<std::uint32_t>(texts.size());
  // Lent memory, given back at the end: a sort of a million rows must not keep 20 MB.
  BulkVector<Keyed> keyed(count);
  BulkVector<std::uint32_t> filled(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (i + kAhead < count && !texts[i + kAhead].empty()) {
      const std::string_view ahead = texts[i + kAhead];
      Prefetch(ahead.data());
      Prefetch(ahead.data() + ahead.size() - 1);
    }
    filled[i] = static_cast<std::uint32_t>(std::min<std::size_t>(Filled(texts[i]), UINT32_MAX));
    keyed[i].position = i;
    keyed[i].Key(texts[i], filled[i], 0);
  }
  // The stretches of texts equal so far, a level of 11 bytes at a time.
  BulkVector<Stretch> stretches{{0, keyed.size()}};
  for (std::size_t offset = 0;; offset += kKeyBytes) {
    BulkVector<Stretch> next;
    for (const Stretch& stretch : stretches) {
      SortStretch(keyed.data() + stretch.begin, keyed.data() + stretch.end, ascending);
      // Texts equal in these bytes that go on are ordered by what follows, unless the rest of
      // each is blanks to the same length (a version list many objects share).
      for (std::size_t i = stretch.begin; i < stretch.end;) {
        const std::size_t size = texts[keyed[i].position].size();
        bool blank_rest = true;
        std::size_t j = i;
        for (; j < stretch.end && keyed[j].SameKey(keyed[i]); ++j) {
          const std::uint32_t position = keyed[j].position;
          blank_rest = blank_rest && filled[position] <= offset + kKeyBytes &&
                       texts[position].size() == size;
        }
        if (j - i > 1 && keyed[i].GoesOn() && !blank_rest) next.push_back({i, j});
        i = j;
      }
    }
    if (next.empty()) break;
    stretches.swap(next);
    RekeyStretches(stretches, texts, filled, keyed, offset + kKeyBytes);
  }
  BulkVector<std::uint32_t> order(count);
  for (std::uint32_t i = 0; i < count; ++i) order[i] = keyed[i].position;
  return order;
}

}  // namespace quillet
