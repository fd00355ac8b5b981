#include "ZipReader.h"

#include <array>
#include <stdexcept>

namespace marubo::test {

namespace {

struct Broken : std::runtime_error {
    Broken() : std::runtime_error("broken stream") {}
};

// Bits of a DEFLATE stream, lowest bit first.
class Bits {
public:
    explicit Bits(const QByteArray& data) : data_(data) {}

    int take(int count) {
        quint32 value = buffer_;
        while (filled_ < count) {
            if (pos_ >= data_.size())
                throw Broken();
            value |= quint32(quint8(data_[pos_++])) << filled_;
            filled_ += 8;
        }
        buffer_ = value >> count;
        filled_ -= count;
        return int(value & ((1u << count) - 1));
    }
    void toByteBoundary() {
        buffer_ = 0;
        filled_ = 0;
    }
    quint8 byte() {
        if (pos_ >= data_.size())
            throw Broken();
        return quint8(data_[pos_++]);
    }

private:
    const QByteArray& data_;
    qsizetype pos_ = 0;
    quint32 buffer_ = 0;
    int filled_ = 0;
};

// A canonical Huffman code: how many codes of each length, and the symbols in
// code order.
struct Huffman {
    std::array<int, 16> count{};
    std::array<int, 320> symbol{};

    Huffman(const int* lengths, int n) {
        for (int i = 0; i < n; ++i)
            ++count[size_t(lengths[i])];
        std::array<int, 16> offset{};
        for (int len = 1; len < 15; ++len)
            offset[size_t(len + 1)] = offset[size_t(len)] + count[size_t(len)];
        for (int i = 0; i < n; ++i) {
            if (lengths[i] != 0)
                symbol[size_t(offset[size_t(lengths[i])]++)] = i;
        }
        count[0] = 0;
    }

    int decode(Bits& bits) const {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= 15; ++len) {
            code |= bits.take(1);
            const int n = count[size_t(len)];
            if (code - n < first)
                return symbol[size_t(index + (code - first))];
            index += n;
            first = (first + n) << 1;
            code <<= 1;
        }
        throw Broken();
    }
};

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                   33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void inflateCodes(Bits& bits, QByteArray& out, const Huffman& lengths, const Huffman& distances) {
    for (;;) {
        const int symbol = lengths.decode(bits);
        if (symbol < 256) {
            out.append(char(symbol));
            continue;
        }
        if (symbol == 256)
            return;
        const int l = symbol - 257;
        if (l >= 29)
            throw Broken();
        const int length = kLengthBase[l] + bits.take(kLengthExtra[l]);
        const int d = distances.decode(bits);
        if (d >= 30)
            throw Broken();
        const int distance = kDistanceBase[d] + bits.take(kDistanceExtra[d]);
        if (distance > out.size())
            throw Broken();
        for (int i = 0; i < length; ++i)
            out.append(out[out.size() - distance]);
    }
}

void inflateFixed(Bits& bits, QByteArray& out) {
    int lengths[288];
    for (int i = 0; i < 288; ++i)
        lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    int distances[30];
    for (int& d : distances)
        d = 5;
    inflateCodes(bits, out, Huffman(lengths, 288), Huffman(distances, 30));
}

void inflateDynamic(Bits& bits, QByteArray& out) {
    static constexpr int order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                      11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int nlen = bits.take(5) + 257;
    const int ndist = bits.take(5) + 1;
    const int ncode = bits.take(4) + 4;
    if (nlen > 286 || ndist > 30)
        throw Broken();
    int codeLengths[19] = {};
    for (int i = 0; i < ncode; ++i)
        codeLengths[order[i]] = bits.take(3);
    const Huffman codes(codeLengths, 19);

    int lengths[320] = {};
    int index = 0;
    while (index < nlen + ndist) {
        const int symbol = codes.decode(bits);
        if (symbol < 16) {
            lengths[index++] = symbol;
            continue;
        }
        int value = 0, repeat = 0;
        if (symbol == 16) {
            if (index == 0)
                throw Broken();
            value = lengths[index - 1];
            repeat = 3 + bits.take(2);
        } else if (symbol == 17) {
            repeat = 3 + bits.take(3);
        } else {
            repeat = 11 + bits.take(7);
        }
        if (index + repeat > nlen + ndist)
            throw Broken();
        while (repeat--)
            lengths[index++] = value;
    }
    inflateCodes(bits, out, Huffman(lengths, nlen), Huffman(lengths + nlen, ndist));
}

quint32 le(const QByteArray& data, qsizetype at, int size) {
    if (at < 0 || at + size > data.size())
        throw Broken();
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(data[at + i]);
    return value;
}

} // namespace

std::optional<QByteArray> inflateRaw(const QByteArray& data) {
    try {
        Bits bits(data);
        QByteArray out;
        bool last = false;
        while (!last) {
            last = bits.take(1) == 1;
            switch (bits.take(2)) {
            case 0: {
                bits.toByteBoundary();
                const int length = bits.byte() | (bits.byte() << 8);
                const int inverted = bits.byte() | (bits.byte() << 8);
                if (length != (~inverted & 0xFFFF))
                    return std::nullopt;
                for (int i = 0; i < length; ++i)
                    out.append(char(bits.byte()));
                break;
            }
            case 1:
                inflateFixed(bits, out);
                break;
            case 2:
                inflateDynamic(bits, out);
                break;
            default:
                return std::nullopt;
            }
        }
        return out;
    } catch (const Broken&) {
        return std::nullopt;
    }
}

std::optional<QMap<QString, QByteArray>> readZip(const QByteArray& archive) {
    try {
        // The end record: the last "PK\5\6" from the end.
        qsizetype end = archive.size() - 22;
        while (end >= 0 && le(archive, end, 4) != 0x06054b50)
            --end;
        if (end < 0)
            return std::nullopt;
        const quint32 entries = le(archive, end + 10, 2);
        qsizetype at = le(archive, end + 16, 4);

        QMap<QString, QByteArray> files;
        for (quint32 i = 0; i < entries; ++i) {
            if (le(archive, at, 4) != 0x02014b50)
                return std::nullopt;
            const quint32 method = le(archive, at + 10, 2);
            const quint32 packed = le(archive, at + 20, 4);
            const quint32 size = le(archive, at + 24, 4);
            const quint32 nameLength = le(archive, at + 28, 2);
            const quint32 extraLength = le(archive, at + 30, 2);
            const quint32 commentLength = le(archive, at + 32, 2);
            const qsizetype local = le(archive, at + 42, 4);
            const QString name = QString::fromUtf8(archive.mid(at + 46, nameLength));
            at += 46 + nameLength + extraLength + commentLength;

            if (le(archive, local, 4) != 0x04034b50)
                return std::nullopt;
            const qsizetype data =
                local + 30 + le(archive, local + 26, 2) + le(archive, local + 28, 2);
            if (data + packed > archive.size())
                return std::nullopt;
            const QByteArray bytes = archive.mid(data, packed);
            std::optional<QByteArray> content;
            if (method == 0)
                content = bytes;
            else if (method == 8)
                content = inflateRaw(bytes);
            if (!content || quint32(content->size()) != size)
                return std::nullopt;
            files.insert(name, *content);
        }
        return files;
    } catch (const Broken&) {
        return std::nullopt;
    }
}

} // namespace marubo::test
