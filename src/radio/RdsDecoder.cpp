#include "radio/RdsDecoder.h"

namespace ondivo {

namespace {

// Code points of 0x80..0x9F in the RDS basic character table.
constexpr char32_t kHighTable[32] = {
    U'á', U'à', U'é', U'è', U'í', U'ì', U'ó', U'ò', U'ú', U'ù', U'Ñ', U'Ç', U'Ş', U'ß', U'¡', U'Ĳ',
    U'â', U'ä', U'ê', U'ë', U'î', U'ï', U'ô', U'ö', U'û', U'ü', U'ñ', U'ç', U'ş', U'ğ', U'ı', U'ĳ',
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

template <size_t N>
std::string Text(const std::array<uint8_t, N>& chars, size_t length) {
  std::string out;
  for (size_t i = 0; i < length && i < N; ++i) out += RdsCharToUtf8(chars[i]);
  return out;
}

}  // namespace

std::string RdsCharToUtf8(uint8_t c) {
  std::string out;
  if (c < 0x20 || c == 0x7F) {
    out = " ";
  } else if (c < 0x80) {
    out = static_cast<char>(c);
  } else if (c < 0xA0) {
    AppendUtf8(out, kHighTable[c - 0x80]);
  } else {
    out = "?";  // the rarer national letters and symbols are not worth a table here
  }
  return out;
}

void RdsDecoder::Reset() {
  *this = RdsDecoder();
}

void RdsDecoder::ForgetStation() {
  pi_ = 0;
  hasPi_ = false;
  psCandidate_.fill(0);
  psHeard_.fill(0);
  psKnown_.fill(false);
  ps_.clear();
  rtChars_.fill(' ');
  rtReceived_ = 0;
  rtEnd_ = -1;
  rtAB_ = -1;
  rt_.clear();
}

bool RdsDecoder::Feed(uint8_t lsb, uint8_t msb, uint8_t block) {
  const uint16_t word = static_cast<uint16_t>(msb << 8 | lsb);
  const int id = block & kBlockMask;
  if (block & kBlockError) {
    // The group the block belongs to is lost; the next block A starts afresh.
    next_ = kA;
    return false;
  }
  bool changed = false;
  switch (id) {
    case kA:
      changed = TakePI(word);
      next_ = kB;
      break;
    case kB:
      // A group whose block A was lost still carries its name and text.
      blockB_ = word;
      next_ = kC;
      break;
    case kC:
    case kCAlt:
      if (next_ != kC) {
        next_ = kA;
        break;
      }
      if (id == kCAlt) changed = TakePI(word);
      blockC_ = word;
      next_ = kD;
      break;
    case kD:
      if (next_ == kD) changed = Group(blockB_, blockC_, word) || changed;
      next_ = kA;
      break;
    default:
      next_ = kA;
      break;
  }
  return changed;
}

bool RdsDecoder::TakePI(uint16_t pi) {
  if (pi == piCandidate_) {
    if (piCount_ < 2) ++piCount_;
  } else {
    piCandidate_ = pi;
    piCount_ = 1;
  }
  if (piCount_ < 2 || (hasPi_ && pi == pi_)) return false;
  // Another station: what was decoded belongs to the old one.
  if (hasPi_) ForgetStation();
  pi_ = pi;
  hasPi_ = true;
  return true;
}

bool RdsDecoder::Group(uint16_t b, uint16_t c, uint16_t d) {
  const int type = b >> 12;
  const bool versionB = (b >> 11) & 1;
  const uint8_t dChars[2] = {static_cast<uint8_t>(d >> 8), static_cast<uint8_t>(d & 0xFF)};
  if (type == 0) return ServiceSegment(b & 0x3, dChars[0], dChars[1]);
  if (type == 2) {
    const bool abFlag = (b >> 4) & 1;
    const int segment = b & 0xF;
    if (versionB) return TextSegment(abFlag, segment, dChars, 2, 2);
    const uint8_t chars[4] = {static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c & 0xFF),
                              dChars[0], dChars[1]};
    return TextSegment(abFlag, segment, chars, 4, 4);
  }
  return false;
}

bool RdsDecoder::ServiceSegment(int segment, uint8_t first, uint8_t second) {
  auto* at = &psCandidate_[static_cast<size_t>(segment * 2)];
  if (psKnown_[segment] && at[0] == first && at[1] == second) {
    ++psHeard_[segment];
  } else {
    // After a change, everything heard before may belong to the old name.
    if (psKnown_[segment]) psHeard_.fill(0);
    at[0] = first;
    at[1] = second;
    psKnown_[segment] = true;
    psHeard_[segment] = 1;
  }
  for (int heard : psHeard_) {
    if (heard < 2) return false;
  }
  std::string name = Text(psCandidate_, psCandidate_.size());
  if (name == ps_) return false;
  ps_ = std::move(name);
  return true;
}

bool RdsDecoder::TextSegment(bool abFlag, int segment, const uint8_t* chars, int count,
                             int perSegment) {
  // Many stations (and the kernel's vivid driver) change the text without toggling A/B: a
  // segment that comes again with other characters starts a new message too.
  bool changed = false;
  if (rtReceived_ & (uint64_t{1} << segment)) {
    for (int i = 0; i < count; ++i) {
      const int position = segment * perSegment + i;
      if ((rtEnd_ >= 0 && position >= rtEnd_) || chars[i] == 0x0D) break;
      if (rtChars_[static_cast<size_t>(position)] != chars[i]) changed = true;
    }
  }
  if (changed || rtAB_ < 0 || abFlag != (rtAB_ == 1) || perSegment != rtPerSegment_) {
    // A new message (or the other group version): collect it afresh; the old text stays shown
    // until the new one is complete.
    rtChars_.fill(' ');
    rtReceived_ = 0;
    rtEnd_ = -1;
    rtAB_ = abFlag ? 1 : 0;
    rtPerSegment_ = perSegment;
  }
  const int maxLength = perSegment == 4 ? 64 : 32;
  for (int i = 0; i < count; ++i) {
    const int position = segment * perSegment + i;
    if (rtEnd_ >= 0 && position >= rtEnd_) break;
    if (chars[i] == 0x0D) {
      rtEnd_ = position;
      break;
    }
    rtChars_[static_cast<size_t>(position)] = chars[i];
  }
  rtReceived_ |= uint64_t{1} << segment;
  const int length = rtEnd_ >= 0 ? rtEnd_ : maxLength;
  const int segments = (length + perSegment - 1) / perSegment;
  for (int s = 0; s < segments; ++s) {
    if (!(rtReceived_ & (uint64_t{1} << s))) return false;
  }
  std::string text = Text(rtChars_, static_cast<size_t>(length));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text == rt_) return false;
  rt_ = std::move(text);
  return true;
}

}  // namespace ondivo
