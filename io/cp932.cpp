#include "io/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>

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

// The CP932 form of one character that is neither ASCII nor half-width katakana, or the empty
// string when there is none. The converter writes substitute bytes and raises its error flag
// for an unmappable character, so each character is converted on its own.
// The converter's error flag stays set once raised (resetState() does not clear it), so after
// a failure the next character gets a new converter.
class Encoder {
 public:
  Encoder() { encoder_.emplace(kCodecName); }
  // The bytes of `ch`, or nullopt when the converter could not map it.
  std::optional<QByteArray> Encode(const QString& ch) {
    QByteArray bytes = encoder_->encode(ch);
    if (!encoder_->hasError()) return bytes;
    encoder_.emplace(kCodecName);
    return std::nullopt;
  }

 private:
  std::optional<QStringEncoder> encoder_;
};

class Decoder {
 public:
  Decoder() { decoder_.emplace(kCodecName); }
  std::optional<QString> Decode(QByteArrayView bytes) {
    QString text = decoder_->decode(bytes);
    if (!decoder_->hasError()) return text;
    decoder_.emplace(kCodecName);
    return std::nullopt;
  }

 private:
  std::optional<QStringDecoder> decoder_;
};

std::string EncodeDoubleByte(Encoder& encoder, const QString& ch) {
  const std::optional<QByteArray> encoded = encoder.Encode(ch);
  if (!encoded || encoded->size() != 2) return {};
  const QByteArray& bytes = *encoded;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const auto trail = static_cast<unsigned char>(bytes[1]);
  if (!IsCp932LeadByte(lead) || !IsCp932TrailByte(trail)) return {};
  return bytes.toStdString();
}

// Walks the characters of a QString (surrogate pairs together) and calls `fn` with each
// character's code point and its UTF-16 text.
template <typename Fn>
void ForEachChar(const QString& text, Fn&& fn) {
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      fn(QChar::surrogateToUcs4(c, text.at(i + 1)), text.mid(i, 2));
      i += 2;
    } else {
      fn(static_cast<char32_t>(c.unicode()), text.mid(i, 1));
      i += 1;
    }
  }
}

// Appends the CP932 bytes of one character; false when CP932 cannot hold it (nothing appended).
bool EncodeChar(Encoder& encoder, char32_t cp, const QString& ch, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return true;
  }
  if (cp >= 0xFF61 && cp <= 0xFF9F) {
    out += static_cast<char>(0xA1 + (cp - 0xFF61));
    return true;
  }
  if (cp >= 0xD800 && cp <= 0xDFFF) return false;  // a lone surrogate
  const std::string bytes = EncodeDoubleByte(encoder, ch);
  if (bytes.empty()) return false;
  out += bytes;
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
  Encoder encoder;
  ForEachChar(FromUtf8(utf8), [&](char32_t cp, const QString& ch) {
    if (!EncodeChar(encoder, cp, ch, out)) out += '?';
  });
  return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Decoder decoder;
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
      const std::optional<QString> s = decoder.Decode(QByteArrayView(bytes.data() + i, 2));
      char32_t cp = kReplacement;
      if (s && s->size() == 1 && !s->at(0).isSurrogate() && s->at(0).unicode() != 0x1A) cp = s->at(0).unicode();
      AppendUtf8(out, cp);
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
  Encoder encoder;
  std::string scratch;
  bool ok = true;
  ForEachChar(text, [&](char32_t cp, const QString& ch) {
    if (ok && !EncodeChar(encoder, cp, ch, scratch)) ok = false;
  });
  return ok;
}

QString KeepCp932Encodable(const QString& text) {
  Encoder encoder;
  std::string scratch;
  QString kept;
  kept.reserve(text.size());
  ForEachChar(text, [&](char32_t cp, const QString& ch) {
    if (EncodeChar(encoder, cp, ch, scratch)) kept += ch;
  });
  return kept;
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

}  // namespace zorvik
