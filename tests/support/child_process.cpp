#include "child_process.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lwtest {

namespace fs = std::filesystem;

#if defined(_WIN32)

namespace {

// One argument as the C runtime splits a command line: quoted, with
// backslashes doubled where a quote follows them.
void appendQuoted(std::wstring &line, const std::wstring &word) {
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

class InheritedFile {
 public:
  InheritedFile(const fs::path &path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handle_ = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                          disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~InheritedFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  InheritedFile(const InheritedFile &) = delete;
  InheritedFile &operator=(const InheritedFile &) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

std::optional<int> runChild(const std::vector<std::string> &words, const fs::path &directory,
                            const ChildStreams &streams, ChildResources *) {
  std::wstring line;
  for (const std::string &word : words) {
    if (!line.empty()) line += L' ';
    appendQuoted(line, fs::path(word).wstring());
  }
  const InheritedFile in(streams.in.value_or(fs::path(L"NUL")), GENERIC_READ, OPEN_EXISTING);
  const InheritedFile out(streams.out, GENERIC_WRITE, CREATE_ALWAYS);
  const InheritedFile err(streams.err, GENERIC_WRITE, CREATE_ALWAYS);
  if (in.get() == INVALID_HANDLE_VALUE || out.get() == INVALID_HANDLE_VALUE || err.get() == INVALID_HANDLE_VALUE)
    return std::nullopt;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.get();
  startup.hStdOutput = out.get();
  startup.hStdError = err.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, directory.c_str(), &startup, &process))
    return std::nullopt;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  const bool exited = GetExitCodeProcess(process.hProcess, &code) != 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!exited) return std::nullopt;
  return static_cast<int>(code);
}

#else

std::optional<int> runChild(const std::vector<std::string> &words, const fs::path &directory,
                            const ChildStreams &streams, ChildResources *resources) {
  std::vector<std::string> copies = words;
  std::vector<char *> argv;
  for (std::string &word : copies) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string in = streams.in ? streams.in->string() : "/dev/null";
  const std::string out = streams.out.string(), err = streams.err.string(), cwd = directory.string();

  const pid_t child = fork();
  if (child == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(125);
    const int inFd = open(in.c_str(), O_RDONLY);
    const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (inFd < 0 || outFd < 0 || errFd < 0 || dup2(inFd, 0) < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
    if (resources != nullptr && resources->addressSpaceLimit > 0) {
      const rlimit limit{resources->addressSpaceLimit, resources->addressSpaceLimit};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(124);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return std::nullopt;
  if (resources != nullptr) resources->peakResidentBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

#endif

}  // namespace lwtest
