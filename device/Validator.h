#pragma once

#include <cstddef>

// A check of a byte block that ends in a checksum trailer.
class Validator {
public:
    // Throws when the block fails the check; returns the trailer length on success.
    virtual std::size_t validate(const unsigned char* bytes, std::size_t length) const = 0;
    virtual std::size_t checksumLength() const = 0;

protected:
    // Never deleted through this interface.
    ~Validator() = default;
};

// The trailer is the 16-byte MD5 digest (RFC 1321) of every byte before it.
class MD5Validator : public Validator {
public:
    std::size_t validate(const unsigned char* bytes, std::size_t length) const override;
    std::size_t checksumLength() const override { return 16; }
};
