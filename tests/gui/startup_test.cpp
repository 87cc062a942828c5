#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

TEST(GuiHarness, RunsWithShiftJisCodePage)
{
    EXPECT_EQ(GetACP(), 932u) << "Wine must run with LANG=ja_JP.UTF-8 for code page 932";
}

TEST(ProgramIcon, LoadsAsOneSixteenPixelIcon)
{
    const auto icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001), IMAGE_ICON, 0, 0, LR_SHARED));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 16);
    EXPECT_EQ(colour.bmHeight, 16);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(ProgramIcon, IsOneFourBitImageInBlackGreysAndWhite)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1001), MAKEINTRESOURCEA(14));
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, group)));
    ASSERT_EQ(directory[4], 1) << "one image";
    // The group entry: width, height, colours, reserved, planes, bits, size, then the image id.
    EXPECT_EQ(directory[6], 16);
    EXPECT_EQ(directory[7], 16);
    EXPECT_EQ(directory[8], 16);
    std::uint16_t imageId;
    std::memcpy(&imageId, directory + 6 + 12, sizeof imageId);

    const HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));
    ASSERT_NE(image, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, image)));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    EXPECT_EQ(header.biWidth, 16);
    EXPECT_EQ(header.biHeight, 32);
    EXPECT_EQ(header.biBitCount, 4);
    const std::uint8_t* palette = bytes + sizeof header;
    const std::uint8_t* pixels = palette + 16 * 4;
    const std::uint8_t* mask = pixels + 16 * 8;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const bool transparent = (mask[row * 4 + column / 8] >> (7 - column % 8)) & 1;
            if (transparent)
                continue;
            const int index = (pixels[row * 8 + column / 2] >> (column % 2 ? 0 : 4)) & 0xF;
            const std::uint8_t* colour = palette + index * 4;
            EXPECT_TRUE(colour[0] == colour[1] && colour[1] == colour[2]) << row << "," << column;
        }
    }
}
