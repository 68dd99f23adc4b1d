#include "io/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace zorvik {

namespace {

constexpr const char* kCodecName = "windows-31j";
constexpr char32_t kReplacement = 0xFFFD;

bool IsHalfWidthKatakanaByte(unsigned char b) {
  return b >= 0xA1 && b <= 0xDF;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The double-byte half of CP932, looked up through the system's converter and remembered:
// a plan or rate master has few distinct characters, and opening a converter costs far more
// than a table lookup. The converter's error flag stays set once raised (resetState() does not
// clear it), so after a failure a new converter is opened.
class DoubleByteTables {
 public:
  static DoubleByteTables& Instance() {
    static DoubleByteTables tables;
    return tables;
  }

  // The character of a lead and trail byte pair, or U+FFFD when the pair maps to nothing.
  char16_t Decode(unsigned char lead, unsigned char trail) {
    const size_t key = (size_t{lead} << 8) | trail;
    std::lock_guard<std::mutex> lock(mutex_);
    if (decoded_[key] == 0) decoded_[key] = LookUpDecode(lead, trail);
    return decoded_[key];
  }

  // The bytes (lead << 8 | trail) of a BMP character, or 0 when CP932 cannot hold it.
  uint16_t Encode(char16_t ch) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (encoded_[ch] == kNotLookedUp) encoded_[ch] = LookUpEncode(ch);
    return encoded_[ch] == kNoMapping ? 0 : encoded_[ch];
  }

 private:
  static constexpr uint16_t kNotLookedUp = 0;
  static constexpr uint16_t kNoMapping = 1;

  char16_t LookUpDecode(unsigned char lead, unsigned char trail) {
    if (!decoder_) decoder_.emplace(kCodecName);
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    const QString text = decoder_->decode(QByteArrayView(pair, 2));
    if (decoder_->hasError()) {
      decoder_.reset();
      return static_cast<char16_t>(kReplacement);
    }
    if (text.size() != 1 || text.at(0).isSurrogate() || text.at(0).unicode() == 0 || text.at(0).unicode() == 0x1A) {
      return static_cast<char16_t>(kReplacement);
    }
    return text.at(0).unicode();
  }

  uint16_t LookUpEncode(char16_t ch) {
    if (!encoder_) encoder_.emplace(kCodecName);
    const QByteArray bytes = encoder_->encode(QString(QChar(ch)));
    if (encoder_->hasError()) {
      encoder_.reset();
      return kNoMapping;
    }
    if (bytes.size() != 2) return kNoMapping;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    if (!IsCp932LeadByte(lead) || !IsCp932TrailByte(trail)) return kNoMapping;
    return static_cast<uint16_t>((lead << 8) | trail);
  }

  std::mutex mutex_;
  std::vector<char16_t> decoded_ = std::vector<char16_t>(65536, 0);  // 0: not looked up yet
  std::vector<uint16_t> encoded_ = std::vector<uint16_t>(65536, kNotLookedUp);
  std::optional<QStringDecoder> decoder_;
  std::optional<QStringEncoder> encoder_;
};

// Walks the characters of a QString (surrogate pairs together) and calls `fn` with each
// character's code point, position and length in UTF-16 units.
template <typename Fn>
void ForEachChar(const QString& text, Fn&& fn) {
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      fn(QChar::surrogateToUcs4(c, text.at(i + 1)), i, 2);
      i += 2;
    } else {
      fn(static_cast<char32_t>(c.unicode()), i, 1);
      i += 1;
    }
  }
}

// Appends the CP932 bytes of one character; false when CP932 cannot hold it (nothing appended).
bool EncodeChar(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return true;
  }
  if (cp >= 0xFF61 && cp <= 0xFF9F) {
    out += static_cast<char>(0xA1 + (cp - 0xFF61));
    return true;
  }
  // CP932 has no character outside the BMP; a lone surrogate is no character at all.
  if (cp > 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == kReplacement) return false;
  const uint16_t bytes = DoubleByteTables::Instance().Encode(static_cast<char16_t>(cp));
  if (bytes == 0) return false;
  out += static_cast<char>(bytes >> 8);
  out += static_cast<char>(bytes & 0xFF);
  return true;
}

// UTF-8 that is not valid becomes U+FFFD here, which CP932 cannot hold.
QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool IsValidUtf8(std::string_view utf8) {
  size_t i = 0;
  const size_t n = utf8.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    size_t len = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (n - i < len) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto t = static_cast<unsigned char>(utf8[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += len;
  }
  return true;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  ForEachChar(FromUtf8(utf8), [&](char32_t cp, qsizetype, qsizetype) {
    if (!EncodeChar(cp, out)) out += '?';
  });
  return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  DoubleByteTables& tables = DoubleByteTables::Instance();
  const size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
    } else if (IsHalfWidthKatakanaByte(b)) {
      AppendUtf8(out, 0xFF61 + (b - 0xA1));
      ++i;
    } else if (IsCp932LeadByte(b) && i + 1 < n && IsCp932TrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      AppendUtf8(out, tables.Decode(b, static_cast<unsigned char>(bytes[i + 1])));
      i += 2;
    } else {
      // 0x80, 0xA0, 0xFD..0xFF, or a lead byte whose trail byte is missing: only this byte is
      // lost, so a line feed or comma after a broken lead byte still counts.
      AppendUtf8(out, kReplacement);
      ++i;
    }
  }
  return out;
}

bool Cp932CanEncode(std::string_view utf8) {
  return IsValidUtf8(utf8) && Cp932CanEncode(FromUtf8(utf8));
}

bool Cp932CanEncode(const QString& text) {
  std::string scratch;
  bool ok = true;
  ForEachChar(text, [&](char32_t cp, qsizetype, qsizetype) {
    if (ok && !EncodeChar(cp, scratch)) ok = false;
  });
  return ok;
}

QString KeepCp932Encodable(const QString& text) {
  std::string scratch;
  QString kept;
  kept.reserve(text.size());
  ForEachChar(text, [&](char32_t cp, qsizetype pos, qsizetype len) {
    if (EncodeChar(cp, scratch)) kept += QStringView(text).mid(pos, len);
  });
  return kept;
}

QString ToCp932Equivalents(const QString& text) {
  // The Unicode code points of the JIS characters as Windows maps them, for the code points that
  // other systems' JIS tables (and their input methods) use for the same characters.
  static constexpr std::pair<char16_t, char16_t> kEquivalents[] = {
      {u'\u301C', u'\uFF5E'}, {u'\u2212', u'\uFF0D'}, {u'\u2016', u'\u2225'}, {u'\u2014', u'\u2015'},
      {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'},
  };
  QString mapped = text;
  for (QChar& c : mapped) {
    for (const auto& [from, to] : kEquivalents) {
      if (c.unicode() == from) c = QChar(to);
    }
  }
  return mapped;
}

TextEncoding TakeByteOrderMark(std::string_view& bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    return TextEncoding::Utf8;
  }
  return TextEncoding::Cp932;
}

std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Cp932) return Cp932ToUtf8(bytes);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return FromUtf8(bytes).toStdString();  // each invalid sequence becomes U+FFFD
}

size_t FindSingleByteChar(std::string_view bytes, char ch, TextEncoding encoding, size_t from) {
  if (encoding == TextEncoding::Utf8) return bytes.find(ch, from);  // UTF-8 continuation bytes are >= 0x80
  const size_t n = bytes.size();
  for (size_t i = from; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (bytes[i] == ch) return i;
    if (IsCp932LeadByte(b) && i + 1 < n && IsCp932TrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      i += 2;
    } else {
      ++i;
    }
  }
  return std::string_view::npos;
}

size_t CharBoundaryPrefix(std::string_view bytes, size_t maxBytes, TextEncoding encoding) {
  if (bytes.size() <= maxBytes) return bytes.size();
  if (encoding == TextEncoding::Utf8) {
    size_t cut = maxBytes;
    // Back off the continuation bytes (10xxxxxx) of a character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    return cut;
  }
  size_t i = 0;
  while (i < maxBytes) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const size_t width =
        IsCp932LeadByte(b) && i + 1 < bytes.size() && IsCp932TrailByte(static_cast<unsigned char>(bytes[i + 1])) ? 2
                                                                                                                 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return i;
}

}  // namespace zorvik
