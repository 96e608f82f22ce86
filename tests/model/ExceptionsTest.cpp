#include <gtest/gtest.h>

#include "model/Exceptions.h"

namespace {

// Which of a handler chain's clauses takes an exception, as the user interface orders them.
template <typename Exception>
std::string handlerFor(const Exception& thrown)
{
    try {
        throw thrown;
    } catch (const HostException&) {
        return "host";
    } catch (const ProtocolException&) {
        return "protocol";
    } catch (const VormoException&) {
        return "vormo";
    } catch (...) {
        return "other";
    }
}

} // namespace

TEST(Exceptions, HandlersTakeEachKindByItsMostSpecificClause)
{
    EXPECT_EQ(handlerFor(HostException("h")), "host");
    EXPECT_EQ(handlerFor(ProtocolException("p")), "protocol");
    EXPECT_EQ(handlerFor(RemoteSourceException("r")), "vormo");
    EXPECT_EQ(handlerFor(FlashException("f")), "vormo");
    EXPECT_EQ(handlerFor(DataValidationException("d")), "vormo");
    EXPECT_EQ(handlerFor(VormoException("v")), "vormo");
    EXPECT_EQ(handlerFor(std::runtime_error("x")), "other");
}

TEST(Exceptions, HostErrorIsAProtocolErrorButRemoteSourceIsNot)
{
    EXPECT_THROW(throw HostException("h"), ProtocolException);
    bool caughtAsProtocol = false;
    try {
        throw RemoteSourceException("r");
    } catch (const ProtocolException&) {
        caughtAsProtocol = true;
    } catch (const VormoException&) {
    }
    EXPECT_FALSE(caughtAsProtocol);
}

TEST(Exceptions, CopyKeepsTheTextUnchanged)
{
    const HostException original("The unit said: no");
    const HostException copy(original);
    EXPECT_STREQ(copy.what(), "The unit said: no");
    const std::runtime_error& base = copy;
    EXPECT_STREQ(base.what(), original.what());
}
