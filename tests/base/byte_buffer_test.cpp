#include "base/byte_buffer.h"
#include "base/byte_sink.h"
#include "base/errors.h"
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <unistd.h>

namespace wordloom {
namespace {

/// Fills [from, to) with a pattern that tells every position apart (mod 251).
void Fill(ByteBuffer& buffer, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        buffer.data()[i] = static_cast<char>(i % 251);
}

/// The first of the first `count` positions whose byte breaks the pattern, or count when none does.
std::size_t FirstMismatch(const ByteBuffer& buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (buffer.data()[i] != static_cast<char>(i % 251))
            return i;
    }
    return count;
}

TEST(ByteBuffer, GrowingKeepsTheContentFromSmallToMappedToRemapped) {
    ByteBuffer buffer;
    EXPECT_TRUE(buffer.empty());
    // 100 bytes from malloc, then a mapping of megabytes (copied over), then a larger one (remapped).
    for (const std::size_t size : {std::size_t(100), std::size_t(3) << 20, std::size_t(40) << 20}) {
        const std::size_t old = buffer.size();
        buffer.resize(size);
        ASSERT_EQ(buffer.size(), size);
        ASSERT_GE(buffer.capacity(), size);
        ASSERT_EQ(FirstMismatch(buffer, old), old) << "content lost growing to " << size;
        Fill(buffer, old, size);
        ASSERT_EQ(FirstMismatch(buffer, size), size);
    }
    buffer.resize(10);
    buffer.reserve(50 << 20);
    EXPECT_EQ(buffer.size(), 10u);
    EXPECT_EQ(buffer.view(), std::string_view("\0\1\2\3\4\5\6\7\10\11", 10));
    buffer.clear();
    EXPECT_TRUE(buffer.empty());
    EXPECT_GE(buffer.capacity(), std::size_t(50) << 20);
}

TEST(ByteBuffer, MovesHandTheBytesOver) {
    for (const std::size_t size : {std::size_t(64), std::size_t(4) << 20}) {
        ByteBuffer source(size);
        source.resize(size);
        Fill(source, 0, size);
        ByteBuffer moved(std::move(source));
        EXPECT_EQ(source.size(), 0u);
        EXPECT_EQ(source.data(), nullptr);
        EXPECT_EQ(FirstMismatch(moved, moved.size()), size);
        ByteBuffer assigned(16);
        assigned.resize(3);
        assigned = std::move(moved);
        EXPECT_EQ(moved.size(), 0u);
        ASSERT_EQ(assigned.size(), size);
        EXPECT_EQ(FirstMismatch(assigned, size), size);
    }
}

TEST(ByteSink, FillsAByteBufferAsItFillsAString) {
    // A hint far below the output makes the sink grow several times, across the mapped sizes.
    const auto write = [](detail::ByteSink& sink) {
        for (int i = 0; i < 200000; ++i) {
            sink.append("piece " + std::to_string(i));
            sink.push_back(';');
            sink.append(std::size_t(i % 7), ' ');
        }
        sink.Truncate(sink.size() - 1);
        sink.Finish();
    };
    std::string text = "old content";
    ByteBuffer buffer(8);
    buffer.resize(5);
    {
        detail::ByteSink sink(text, 16);
        write(sink);
    }
    {
        detail::ByteSink sink(buffer, 16);
        write(sink);
    }
    EXPECT_GT(text.size(), std::size_t(2) << 20);
    EXPECT_TRUE(text.starts_with("piece 0;piece 1; piece 2;  "));
    EXPECT_EQ(buffer.view(), text);
}

class ReadIntoBufferTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("wordloom-byte-buffer-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& content) const {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::filesystem::path m_dir;
};

TEST_F(ReadIntoBufferTest, ReadsEveryByteOfFilesOfAnySize) {
    std::string large(3 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 % 256);
    for (const std::string& content : {std::string(), std::string("a\0b\r\n", 5), large}) {
        const std::string path = Write("f.dfm", content);
        ByteBuffer buffer(4);
        buffer.resize(4); // replaced, not appended to
        ReadFileBytes(path, buffer);
        EXPECT_EQ(buffer.view(), content);
        EXPECT_EQ(ReadFileBytes(path), content);
    }
}

TEST_F(ReadIntoBufferTest, FilesWithoutASizeAreReadToTheirEnd) {
    // The kernel gives such files the size 0 whatever they hold.
    const std::string path = "/proc/self/cmdline";
    ByteBuffer buffer;
    ReadFileBytes(path, buffer);
    const std::string text = ReadFileBytes(path);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(buffer.view(), text);
    EXPECT_NE(text.find("byte_buffer_test"), std::string::npos);
}

TEST_F(ReadIntoBufferTest, MissingFileFailsAndLeavesTheBufferEmpty) {
    ByteBuffer buffer(8);
    buffer.resize(8);
    const std::string path = (m_dir / "missing.dfm").string();
    try {
        ReadFileBytes(path, buffer);
        FAIL() << "no failure";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
    }
    EXPECT_TRUE(buffer.empty());
    buffer.resize(8);
    EXPECT_THROW(ReadFileBytes(m_dir.string(), buffer), FileError);
    EXPECT_TRUE(buffer.empty());
}

} // namespace
} // namespace wordloom
