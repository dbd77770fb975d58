// Every data file the game loads, damaged every way a user's copy can be, each run through the
// headless runner drawing every frame: it must not crash or hang, must name the file in the
// loaders' message, and must still run its (short) race to the end. Prints a table of cases.
//   td_damaged_data RUNNER IMAGES [--jobs N] [--max-seconds S] [--keep] [--one-per-folder]
// --one-per-folder damages only the first file of each kind in each folder: every loader and
// every use of a picture still sees each fault, in a fifth of the runs (the sanitized build's).
// Each case gets its own data folder under the system's temporary folder: links to the good
// files and the one damaged file written in place of its link. Exit 0 when every case passes.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

enum Fault { missing, empty, half, randomBytes, wrongSize, wrongDepth, folderInPlace, intact, faultCount };
const char* const faultNames[faultCount] = {"missing",    "empty",       "half",   "random bytes",
                                            "wrong size", "wrong depth", "folder", "intact"};

// Real time a case may take before it counts as hung; a case takes well under a second alone.
const double hangSeconds = 60.0;

struct Case {
    Case(const std::string& f, Fault d) : file(f), fault(d) {}
    std::string file;  // relative to the data folder: "images/track/blank.bmp"
    Fault fault;
    fs::path folder;
    pid_t pid = -1;
    std::chrono::steady_clock::time_point started;
    bool hung = false;
    int status = 0;
    std::string outcome;
    bool passed = false;
};

bool isPicture(const std::string& file) { return file.size() > 4 && file.compare(file.size() - 4, 4, ".bmp") == 0; }

std::vector<uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string readText(const fs::path& path) {
    std::vector<uint8_t> bytes = readAll(path);
    return std::string(bytes.begin(), bytes.end());
}

bool writeAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
    return (bool)out;
}

uint32_t readU32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 > b.size() ? 0 : (uint32_t)(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24);
}

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) b[at + i] = (uint8_t)(v >> (8 * i));
}

// A valid uncompressed BMP of the given side and depth (8-bit files get a grey ramp), with a
// diagonal pattern so that it is not one flat colour.
std::vector<uint8_t> makeBmp(int side, int bits) {
    int rowBytes = (side * bits / 8 + 3) / 4 * 4;
    uint32_t offset = 54 + (bits == 8 ? 1024 : 0);
    std::vector<uint8_t> b(offset + (size_t)rowBytes * side, 0);
    b[0] = 'B';
    b[1] = 'M';
    putU32(b, 2, (uint32_t)b.size());
    putU32(b, 10, offset);
    putU32(b, 14, 40);
    putU32(b, 18, (uint32_t)side);
    putU32(b, 22, (uint32_t)side);
    b[26] = 1;
    b[28] = (uint8_t)bits;
    for (int i = 0; bits == 8 && i < 256; i++) putU32(b, 54 + 4 * i, (uint32_t)(i * 0x010101));
    for (int y = 0; y < side; y++)
        for (int i = 0; i < side * bits / 8; i++) b[offset + (size_t)y * rowBytes + i] = (uint8_t)(i + y);
    return b;
}

// Deterministic bytes, so that a failing case fails the same way again.
std::vector<uint8_t> pseudoRandom(size_t count, uint32_t seed) {
    std::vector<uint8_t> b(count);
    uint32_t x = seed | 1u;
    for (uint8_t& v : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        v = (uint8_t)(x >> 24);
    }
    if (count >= 2 && b[0] == 'B' && b[1] == 'M') b[1] = 'N';
    return b;
}

uint32_t seedOf(const std::string& text) {
    uint32_t h = 2166136261u;
    for (char c : text) h = (h ^ (uint8_t)c) * 16777619u;
    return h;
}

// Replaces the case's link to the good file with the damage; false for a fault that does not
// apply to the file (a width file has no bit depth).
bool damage(const Case& c, const fs::path& good) {
    fs::path target = c.folder / c.file;
    std::vector<uint8_t> bytes = readAll(good);
    if (c.fault == intact) return true;
    fs::remove(target);
    switch (c.fault) {
    case missing:
        return true;
    case empty:
        return writeAll(target, {});
    case half:
        return writeAll(target, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    case randomBytes:
        return writeAll(target, pseudoRandom(bytes.size(), seedOf(c.file)));
    case folderInPlace:
        return fs::create_directory(target);
    case wrongSize:
        if (!isPicture(c.file)) {
            std::vector<uint8_t> longer = bytes;
            longer.resize(bytes.size() + 44, 8);
            return writeAll(target, longer);
        }
        return writeAll(target, makeBmp((int)readU32(bytes, 18) / 2, bytes[28]));
    case wrongDepth:
        return writeAll(target, makeBmp((int)readU32(bytes, 18), bytes[28] == 8 ? 24 : 8));
    default:
        return false;
    }
}

// What the loaders say about the file for each fault, as a piece of one line of stderr.
std::string expectedMessage(const Case& c) {
    const std::string& f = c.file;
    if (isPicture(f)) {
        switch (c.fault) {
        case missing:
        case folderInPlace:
            return f + " not found";
        case empty:
        case randomBytes:
            return "File is not BMP format: " + f;
        case half:
            return f + " is cut short";
        default:
            return f + " is ";  // "<file> is W x H pixels at B bits per pixel; the game expects ..."
        }
    }
    switch (c.fault) {
    case missing:
    case folderInPlace:
        return "FontSize file " + f + " not found";
    case empty:
    case half:
        return "FontSize file " + f + " holds ";
    case randomBytes:
        return "FontSize file " + f + " has glyphs wider";
    default:
        return "FontSize file " + f + " is longer";
    }
}

bool lineHas(const std::string& text, const std::string& piece) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.find(piece) != std::string::npos) return true;
    return false;
}

// Whether the title frame shows the course: its textured ground and road give thousands of
// colours, a screen of text over a cleared background a few dozen.
int distinctColours(const fs::path& ppm) {
    std::vector<uint8_t> b = readAll(ppm);
    const char* header = "P6\n640 480\n255\n";
    size_t start = strlen(header);
    if (b.size() < start + 640 * 480 * 3 || memcmp(b.data(), header, start) != 0) return -1;
    std::set<uint32_t> colours;
    for (size_t i = start; i + 2 < b.size(); i += 3) colours.insert((uint32_t)(b[i] << 16 | b[i + 1] << 8 | b[i + 2]));
    return (int)colours.size();
}

bool start(Case& c, const std::string& runner, double maxSeconds) {
    std::string data = c.folder.string(), seconds = std::to_string(maxSeconds);
    std::string out = (c.folder / "out.txt").string(), err = (c.folder / "err.txt").string();
    // Only the font's cases look at the picture; the others skip writing it.
    std::string shots = (c.folder / "shots").string();
    bool shoot = c.file.find("images/text/") == 0;
    if (shoot) fs::create_directory(shots);
    const char* argv[] = {runner.c_str(),  "--data",       data.c_str(), "--max-seconds",
                          seconds.c_str(), "--draw-every", "1",          shoot ? "--screenshots" : nullptr,
                          shots.c_str(),   nullptr};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int result = posix_spawn(&c.pid, runner.c_str(), &files, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&files);
    c.started = std::chrono::steady_clock::now();
    return result == 0;
}

void judge(Case& c) {
    std::string out = readText(c.folder / "out.txt"), err = readText(c.folder / "err.txt");
    bool exited = !c.hung && WIFEXITED(c.status);
    int code = exited ? WEXITSTATUS(c.status) : -1;
    bool raced = out.find("Race 1 on course 0") != std::string::npos && out.find("Simulated: ") != std::string::npos;
    std::ostringstream o;
    if (c.hung)
        o << "HUNG, killed";
    else if (WIFSIGNALED(c.status))
        o << "CRASHED, signal " << WTERMSIG(c.status);
    else
        o << "exit " << code;
    bool said;
    if (c.fault == intact) {
        said = err.find("images/") == std::string::npos;
        o << (said ? ", no message" : ", UNEXPECTED message");
    } else {
        said = lineHas(err, expectedMessage(c));
        o << (said ? ", named in message" : ", MESSAGE MISSING");
    }
    o << (raced ? ", race run" : ", NO RACE");
    // A sanitizer's report also ends the run with exit 1.
    bool clean = err.find("Sanitizer") == std::string::npos && err.find("runtime error:") == std::string::npos;
    if (!clean) o << ", SANITIZER REPORT";
    bool world = true;
    if (c.file.find("images/text/") == 0) {
        int colours = distinctColours(c.folder / "shots" / "course0-title.ppm");
        world = colours > 1000;
        o << ", title shows the world (" << colours << " colours)";
        if (!world) o << " NOT ENOUGH";
    }
    // Exit 1 only says the short race ended before every truck finished.
    c.passed = exited && (code == 0 || code == 1) && said && raced && world && clean;
    c.outcome = o.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s RUNNER IMAGES [--jobs N] [--max-seconds S] [--keep] [--one-per-folder]\n",
                argv[0]);
        return 2;
    }
    std::string runner = fs::absolute(argv[1]).string();
    fs::path images = fs::absolute(argv[2]);
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    double maxSeconds = 0.25;
    bool keep = false, onePerFolder = false;
    for (int i = 3; i < argc; i++) {
        if (!strcmp(argv[i], "--jobs") && i + 1 < argc)
            jobs = (unsigned)std::max(1, atoi(argv[++i]));
        else if (!strcmp(argv[i], "--max-seconds") && i + 1 < argc)
            maxSeconds = atof(argv[++i]);
        else if (!strcmp(argv[i], "--keep"))
            keep = true;
        else if (!strcmp(argv[i], "--one-per-folder"))
            onePerFolder = true;
    }

    // Every file the asset generator wrote (its stamp aside) is one the game loads.
    std::vector<std::string> files;
    std::error_code error;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(images, error))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.')
            files.push_back("images/" + e.path().lexically_relative(images).generic_string());
    std::sort(files.begin(), files.end());
    // The files to damage; every case's folder still holds all the others.
    std::vector<std::string> damaged = files;
    if (onePerFolder) {
        std::set<std::string> kinds;  // folder and extension
        damaged.clear();
        for (const std::string& f : files) {
            fs::path p(f);
            if (kinds.insert(p.parent_path().string() + "*" + p.extension().string()).second) damaged.push_back(f);
        }
    }
    if (error || files.empty()) {
        fprintf(stderr, "damagedData: no data files in %s\n", images.c_str());
        return 2;
    }

    char pattern[] = "/tmp/td-damaged-XXXXXX";
    if (!mkdtemp(pattern)) {
        perror("mkdtemp");
        return 2;
    }
    fs::path work = pattern;
    std::vector<Case> cases;
    cases.push_back(Case(files[0], intact));
    for (const std::string& f : damaged)
        for (int fault = 0; fault < intact; fault++)
            if (isPicture(f) || fault != wrongDepth) cases.push_back(Case(f, (Fault)fault));

    auto begin = std::chrono::steady_clock::now();
    size_t next = 0, done = 0;
    std::vector<Case*> running;
    int failures = 0;
    while (done < cases.size()) {
        while (running.size() < jobs && next < cases.size()) {
            Case& c = cases[next];
            c.folder = work / std::to_string(next);
            next++;
            for (const std::string& f : files) {
                fs::create_directories((c.folder / f).parent_path());
                fs::create_symlink(images / fs::path(f).lexically_relative("images"), c.folder / f);
            }
            if (!damage(c, images / fs::path(c.file).lexically_relative("images")) || !start(c, runner, maxSeconds)) {
                c.outcome = "could not set up the case";
                done++;
                failures++;
                continue;
            }
            running.push_back(&c);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (size_t i = 0; i < running.size();) {
            Case& c = *running[i];
            pid_t got = waitpid(c.pid, &c.status, WNOHANG);
            double age = std::chrono::duration<double>(std::chrono::steady_clock::now() - c.started).count();
            if (got == 0 && age > hangSeconds) {
                kill(c.pid, SIGKILL);
                waitpid(c.pid, &c.status, 0);
                c.hung = true;
                got = c.pid;
            }
            if (got != c.pid) {
                i++;
                continue;
            }
            judge(c);
            if (!c.passed) failures++;
            if (!keep) fs::remove_all(c.folder, error);
            running.erase(running.begin() + (long)i);
            done++;
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    printf("| File | Damage | Outcome |\n|---|---|---|\n");
    for (const Case& c : cases)
        printf("| %s | %s | %s%s |\n", c.file.c_str(), faultNames[c.fault],
               c.passed ? "" : "FAILED: ", c.outcome.c_str());
    printf("\n%zu cases over %zu files, %d failed, %.1f s with %u at a time\n", cases.size(), damaged.size(), failures,
           seconds, jobs);
    if (keep)
        printf("case folders kept in %s\n", work.c_str());
    else
        fs::remove_all(work, error);
    return failures == 0 ? 0 : 1;
}
