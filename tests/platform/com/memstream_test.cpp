#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <gtest/gtest.h>

using namespace vyr::com;

namespace {
uint64_t seek(IStream* s, int64_t move, DWORD origin, HRESULT* hr = nullptr)
{
    ULARGE_INTEGER pos{};
    const HRESULT r = s->Seek({move}, origin, &pos);
    if (hr)
        *hr = r;
    return pos.QuadPart;
}
} // namespace

TEST(MemoryStream, ReadPastTheEndReturnsWhatIsThere)
{
    auto s = MemoryStream::create({1, 2, 3});
    uint8_t buf[8] = {};
    ULONG got = 0;
    EXPECT_EQ(s->Read(buf, 8, &got), S_FALSE);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(buf[2], 3);
    EXPECT_EQ(s->Read(buf, 1, &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(readExact(s.get(), buf, 1), STG_E_READFAULT);
    EXPECT_EQ(s->Read(nullptr, 1, &got), STG_E_INVALIDPOINTER);
}

TEST(MemoryStream, SeekOriginsAndRefusals)
{
    auto s = MemoryStream::create({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(seek(s.get(), 4, STREAM_SEEK_SET), 4u);
    EXPECT_EQ(seek(s.get(), 2, STREAM_SEEK_CUR), 6u);
    EXPECT_EQ(seek(s.get(), -3, STREAM_SEEK_END), 7u);
    EXPECT_EQ(remainingBytes(s.get()), 3u);

    struct Bad {
        int64_t move;
        DWORD origin;
    };
    for (const Bad& b : {Bad{-1, STREAM_SEEK_SET}, Bad{-11, STREAM_SEEK_END}, Bad{INT64_MAX, STREAM_SEEK_CUR},
                         Bad{INT64_MIN, STREAM_SEEK_CUR}, Bad{0, 3}}) {
        HRESULT hr = S_OK;
        seek(s.get(), b.move, b.origin, &hr);
        EXPECT_EQ(hr, STG_E_INVALIDFUNCTION) << b.move << " from " << b.origin;
        EXPECT_EQ(s->position(), 7u) << "a refused seek keeps the position";
    }
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros)
{
    auto s = MemoryStream::create({1, 2});
    seek(s.get(), 5, STREAM_SEEK_SET);
    EXPECT_EQ(remainingBytes(s.get()), 0u);
    const uint8_t x = 9;
    ASSERT_EQ(writeAll(s.get(), &x, 1), S_OK);
    EXPECT_EQ(s->bytes(), (std::vector<uint8_t>{1, 2, 0, 0, 0, 9}));
    STATSTG st{};
    ASSERT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(st.cbSize.QuadPart, 6u);
}

TEST(MemoryStream, SetSizeTruncatesAndReadsBeyondGiveNothing)
{
    auto s = MemoryStream::create({1, 2, 3, 4});
    seek(s.get(), 3, STREAM_SEEK_SET);
    ASSERT_EQ(s->SetSize({2}), S_OK);
    uint8_t b = 0;
    ULONG got = 1;
    s->Read(&b, 1, &got);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(s->bytes().size(), 2u);
    EXPECT_EQ(s->SetSize({(uint64_t(1) << 32) + 1}), STG_E_MEDIUMFULL);
}

TEST(MemoryStream, CopyToMovesTheRemainderAndCloneIsIndependent)
{
    auto src = MemoryStream::create({1, 2, 3, 4, 5});
    auto dst = MemoryStream::create();
    seek(src.get(), 1, STREAM_SEEK_SET);
    ULARGE_INTEGER read{}, written{};
    ASSERT_EQ(src->CopyTo(dst.get(), {3}, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 3u);
    EXPECT_EQ(written.QuadPart, 3u);
    EXPECT_EQ(dst->bytes(), (std::vector<uint8_t>{2, 3, 4}));
    EXPECT_EQ(src->position(), 4u);

    seek(src.get(), 50, STREAM_SEEK_SET);
    ASSERT_EQ(src->CopyTo(dst.get(), {10}, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 0u);

    ComPtr<IStream> clone;
    ASSERT_EQ(src->Clone(clone.put()), S_OK);
    seek(clone.get(), 0, STREAM_SEEK_SET);
    const uint8_t x = 7;
    writeAll(clone.get(), &x, 1);
    EXPECT_EQ(src->bytes()[0], 1);
    EXPECT_EQ(src->position(), 50u);
}

TEST(MemoryStream, AnswersForItsBaseInterface)
{
    auto s = MemoryStream::create();
    ComPtr<ISequentialStream> seq = ComPtr<IStream>(s.get()).as<ISequentialStream>(IID_ISequentialStream);
    ASSERT_TRUE(seq);
    EXPECT_EQ(static_cast<void*>(seq.get()), static_cast<void*>(static_cast<IStream*>(s.get())));
    ComPtr<IUnknown> none = ComPtr<IStream>(s.get()).as<IUnknown>(IID_IDispatch);
    EXPECT_FALSE(none);
}
