#include <md5.h>

#include "device/Validator.h"
#include "model/Exceptions.h"

std::size_t MD5Validator::validate(const unsigned char* bytes, std::size_t length) const
{
    // A block too short to hold a digest cannot match one.
    if (length < checksumLength())
        throw DataValidationException("MD5 checksum error");
    const std::size_t covered = length - checksumLength();
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, bytes, covered);
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &context);
    for (std::size_t i = 0; i < MD5_DIGEST_LENGTH; ++i) {
        if (digest[i] != bytes[covered + i])
            throw DataValidationException("MD5 checksum error");
    }
    return checksumLength();
}
