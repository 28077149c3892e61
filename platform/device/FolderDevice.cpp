#include "FolderDevice.h"

#include <cerrno>
#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace device {

namespace {

// Pieces small enough that a slow link shows progress to the file system, large enough to be few.
constexpr size_t kChunkBytes = 256 * 1024;

std::string quoted(const fs::path& p) { return "«" + p.string() + "»"; }

std::string limitText(std::chrono::milliseconds limit) {
    const auto ms = limit.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " с" : std::to_string(ms) + " мс";
}

std::error_code lastError() { return std::error_code(errno, std::generic_category()); }

std::FILE* openExclusive(const fs::path& path) {
#if defined(_WIN32)
    // The C library of Windows knows no "x" in fopen's mode: the exclusive create is asked of _wopen.
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) _close(fd);
    return f;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A name beside `target` that no file has yet: "drag_function.dat.part123456".
fs::path temporaryBeside(const fs::path& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    fs::path beside = target;  // appended in the name's own characters, whatever its alphabet
    beside += ".part" + std::to_string(random() % 1000000);
    return beside;
}

// The folder's entry made durable after a rename; a file system that cannot (some network mounts)
// is left to do it in its own time.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#if !defined(_WIN32)
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
}

}  // namespace

FolderDevice::FolderDevice(fs::path folder) : folder_(std::move(folder)) {}

std::string FolderDevice::reasonText(std::error_code ec) {
    using std::errc;
    if (ec == errc::no_space_on_device) return "на устройстве нет места";
    if (ec == errc::permission_denied || ec == errc::operation_not_permitted) return "нет прав на запись";
    if (ec == errc::read_only_file_system) return "устройство только для чтения";
    if (ec == errc::no_such_file_or_directory) return "папка не найдена";
    if (ec == errc::io_error) return "ошибка ввода-вывода";
    if (ec == errc::file_too_large) return "файл слишком велик";
    if (ec == errc::is_a_directory) return "под этим именем на устройстве папка";
    if (ec == errc::filename_too_long) return "слишком длинный путь";
    if (ec == errc::no_such_device || ec == errc::no_such_device_or_address) return "устройство отключено";
    return "ошибка " + std::to_string(ec.value()) + " (" + ec.message() + ")";
}

ConnectResult FolderDevice::probeFolder(const fs::path& folder) {
    if (folder.empty()) return {Connection::Missing, "Папка устройства не выбрана"};
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (status.type() == fs::file_type::not_found) return {Connection::Missing, "Папка " + quoted(folder) + " не найдена"};
    if (ec) return {Connection::Missing, "Нет доступа к папке " + quoted(folder) + " (" + reasonText(ec) + ")"};
    if (!fs::is_directory(status)) return {Connection::Missing, quoted(folder) + " - не папка"};
    // Permission bits do not tell (a read-only mount, a phone that refuses): a file is made and removed.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const fs::path probe = temporaryBeside(folder / ".trajekton-probe");
        std::FILE* f = openExclusive(probe);
        if (!f) {
            const std::error_code why = lastError();
            if (why == std::errc::file_exists) continue;
            // A folder that is there but says "no such file" to a new one is a file system that takes none (/proc).
            const std::string reason = why == std::errc::no_such_file_or_directory ? "папка не принимает файлы" : reasonText(why);
            return {Connection::NotWritable, "В папку " + quoted(folder) + " нельзя записать файл (" + reason + ")"};
        }
        std::fclose(f);
        fs::remove(probe, ec);
        return {Connection::Connected, {}};
    }
    return {Connection::NotWritable, "В папке " + quoted(folder) + " не удалось создать файл"};
}

FolderDevice::Probe FolderDevice::makeProbe() const {
    return [folder = folder_] { return probeFolder(folder); };
}

ConnectResult FolderDevice::connect(std::chrono::milliseconds limit) {
    struct Answer {
        std::mutex mutex;
        std::condition_variable ready;
        std::optional<ConnectResult> result;
    };
    auto answer = std::make_shared<Answer>();
    try {
        std::thread([answer, probe = makeProbe()] {
            ConnectResult r = probe();
            std::lock_guard lock(answer->mutex);
            answer->result = std::move(r);
            answer->ready.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {Connection::NoAnswer, "Не удалось начать проверку папки " + quoted(folder_)};
    }
    std::unique_lock lock(answer->mutex);
    if (!answer->ready.wait_for(lock, limit, [&] { return answer->result.has_value(); }))
        return {Connection::NoAnswer, "Папка " + quoted(folder_) + " не ответила за " + limitText(limit)};
    return *answer->result;
}

WriteResult FolderDevice::writeFile(const std::string& name, std::string_view bytes) {
    WriteResult result;
    result.target = folder_ / name;
    const fs::path& target = result.target;
    std::error_code ec;
    const bool hadTarget = fs::is_regular_file(target, ec);

    fs::path temp;
    std::FILE* file = nullptr;
    std::error_code failure;
    std::string step;
    for (int attempt = 0; attempt < 3; ++attempt) {
        temp = temporaryBeside(target);
        failure = createFile(temp, file);
        if (failure != std::errc::file_exists) break;
    }
    auto fail = [&](std::string why) {
        if (file) closeFile(file);
        std::error_code removeError;
        const bool tempLeft = !temp.empty() && fs::exists(temp, removeError) && !fs::remove(temp, removeError);
        result.ok = false;
        result.message = "Не удалось записать файл " + quoted(target) + " на устройство:\n" + why + ".";
        if (hadTarget) result.message += "\nПрежний файл на устройстве не изменён.";
        if (tempLeft) result.message += "\nНе удалось удалить временный файл " + quoted(temp) + ".";
        return result;
    };
    if (failure) {
        file = nullptr;
        const std::string why = reasonText(failure);
        temp.clear();  // never made
        return fail("файл не создаётся (" + why + ")");
    }
    for (size_t done = 0; done < bytes.size(); done += kChunkBytes) {
        const std::string_view chunk = bytes.substr(done, kChunkBytes);
        if (const std::error_code e = writeBytes(file, chunk))
            return fail("запись прервалась после " + std::to_string(done) + " из " + std::to_string(bytes.size()) +
                        " байт (" + reasonText(e) + ")");
    }
    const std::error_code closed = closeFile(file);
    file = nullptr;
    if (closed) return fail("данные не записались на диск устройства (" + reasonText(closed) + ")");

    // Read back before it replaces anything: a link that lost bytes without a word must not cost
    // the device its old file.
    std::string back;
    if (const std::error_code e = readFile(temp, bytes.size() + 1, back))
        return fail("записанное не читается обратно (" + reasonText(e) + ")");
    if (back != bytes)
        return fail("прочитанное обратно не совпадает с записанным (" + std::to_string(back.size()) + " байт из " +
                    std::to_string(bytes.size()) + ")");
    if (const std::error_code e = renameFile(temp, target))
        return fail("прежний файл не заменяется (" + reasonText(e) + ")");
    temp.clear();
    syncFolder(folder_);

    // Once more under its own name: what the handheld will open.
    back.clear();
    const std::error_code reread = readFile(target, bytes.size() + 1, back);
    if (reread || back != bytes) {
        result.message = "Файл " + quoted(target) + " записан на устройство, но прочитанное обратно не совпадает с "
                         "записанным" + (reread ? " (" + reasonText(reread) + ")" : std::string()) +
                         ".\nПовторите передачу.";
        return result;
    }
    result.ok = true;
    return result;
}

std::error_code FolderDevice::createFile(const fs::path& path, std::FILE*& file) {
    file = openExclusive(path);
    return file ? std::error_code() : lastError();
}

std::error_code FolderDevice::writeBytes(std::FILE* file, std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) return {};
    return std::ferror(file) && errno ? lastError() : std::make_error_code(std::errc::io_error);
}

std::error_code FolderDevice::closeFile(std::FILE* file) {
    std::error_code ec;
    if (std::fflush(file) != 0) ec = lastError();
#if defined(_WIN32)
    if (!ec && ::_commit(_fileno(file)) != 0) ec = lastError();
#else
    // A file system that has no flush to the disk (some FUSE mounts) has had the bytes handed over.
    if (!ec && ::fsync(fileno(file)) != 0 && errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) ec = lastError();
#endif
    if (std::fclose(file) != 0 && !ec) ec = lastError();
    return ec;
}

std::error_code FolderDevice::renameFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec;
}

std::error_code FolderDevice::readFile(const fs::path& path, size_t maxBytes, std::string& bytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return errno ? lastError() : std::make_error_code(std::errc::io_error);
    bytes.clear();
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<size_t>(in.gcount()));
        if (bytes.size() > maxBytes) return {};  // longer than written: the caller sees the difference
    }
    if (in.bad()) return std::make_error_code(std::errc::io_error);
    return {};
}

}  // namespace device
