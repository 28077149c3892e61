#pragma once
// A data folder and a device folder of their own for each transfer test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "DeviceTransfer.h"
#include "FileIO.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

class TransferFolders : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("tk-transfer-" + std::to_string(std::random_device{}()));
        data = root / "data";
        phone = root / "phone";
        std::filesystem::create_directories(data);
        std::filesystem::create_directories(phone);
        lapua = sampleFunction();
        lapua.setName(utf8ToCp1251("Лапуа 185"));
        lapua.kind = DragFuncKind::Special;
        lapua.uniqueNumber = 11;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    // The device folder's files, by name.
    std::vector<std::string> onPhone() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(phone)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string phoneFile(const char* name) const { return readWholeFile(phone / name).value_or("<none>"); }

    std::filesystem::path root, data, phone;
    DragFunc lapua;
};

