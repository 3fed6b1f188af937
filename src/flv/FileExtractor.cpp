#include "flv/FileExtractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "flv/AudioPath.h"
#include "flv/FileInput.h"
#include "flv/FileOutput.h"

namespace flv {
namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

// The temporary audio file: removed at destruction unless it was renamed into place.
class TempFile {
 public:
  ~TempFile() {
    if (!path_.empty()) {
      fd_.Close();
      unlink(path_.c_str());
    }
  }

  // Creates a hidden file beside finalPath that no one else is using.
  bool Create(const std::string& finalPath, std::string& error) {
    const std::size_t slash = finalPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
    const std::string name = finalPath.substr(folder.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string path = folder + "." + name + "." + std::to_string(getpid()) + "-" +
                         std::to_string(attempt) + ".part";
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        path_ = std::move(path);
        fd_.Reset(fd);
        output_ = std::make_unique<FileOutput>(fd);
        return true;
      }
      if (errno != EEXIST) break;
    }
    error = SystemError("cannot create a file beside " + finalPath);
    return false;
  }

  FileOutput* Output() { return output_.get(); }

  // Flushes, closes and renames the file to finalPath.
  bool Commit(const std::string& finalPath, bool overwrite, std::string& error) {
    if (!output_->Flush() || !fd_.Close()) {
      error = SystemError("cannot write " + finalPath);
      return false;
    }
    const int renamed = overwrite ? rename(path_.c_str(), finalPath.c_str())
                                  : RenameNoReplace(path_.c_str(), finalPath.c_str());
    if (renamed != 0) {
      error = errno == EEXIST ? finalPath + " exists (give -o to replace it)"
                              : SystemError("cannot write " + finalPath);
      return false;
    }
    path_.clear();
    return true;
  }

 private:
  static int RenameNoReplace(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // File systems without the flag: a plain rename after a check.
    struct stat st {};
    if (lstat(to, &st) == 0) {
      errno = EEXIST;
      return -1;
    }
    return rename(from, to);
  }

  std::string path_;
  Fd fd_;
  std::unique_ptr<FileOutput> output_;
};

}  // namespace

FileExtraction ExtractFile(const std::string& flvPath, bool overwrite) {
  FileExtraction result;
  Fd input(open(flvPath.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat inputStat {};
  if (input.Get() < 0 || fstat(input.Get(), &inputStat) != 0) {
    result.message = SystemError("cannot open the file");
    return result;
  }
  if (S_ISDIR(inputStat.st_mode)) {
    result.message = "is a folder";
    return result;
  }
  posix_fadvise(input.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

  TempFile temp;
  FileInput source(input.Get());
  const Extraction extraction = ExtractAudio(source, [&](Codec codec, std::string& error) {
    result.outputPath = AudioPathFor(flvPath, codec);
    struct stat outputStat {};
    if (stat(result.outputPath.c_str(), &outputStat) == 0) {
      if (outputStat.st_dev == inputStat.st_dev && outputStat.st_ino == inputStat.st_ino) {
        error = "the audio file " + result.outputPath + " would replace the input";
        return static_cast<Output*>(nullptr);
      }
      if (!overwrite) {
        error = result.outputPath + " exists (give -o to replace it)";
        return static_cast<Output*>(nullptr);
      }
    }
    return temp.Create(result.outputPath, error) ? static_cast<Output*>(temp.Output()) : nullptr;
  });
  result.message = extraction.message;
  if (extraction.outcome == Extraction::Outcome::kFailed) return result;
  if (!temp.Commit(result.outputPath, overwrite, result.message)) return result;
  result.outcome = extraction.outcome;
  return result;
}

}  // namespace flv
