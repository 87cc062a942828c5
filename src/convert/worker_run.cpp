#include "convert/worker_run.h"

#include "convert/piece_conversion.h"
#include "platform/file_handle.h"
#include "platform/worker_signals.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// How often the calling thread shows the run and looks for a cancel while it waits for the
// workers: more often than one chunk of encoding takes, so the window answers as quickly as when
// it encodes itself.
constexpr std::chrono::milliseconds pumpInterval(5);

// One file's name whatever the case of its letters, as a system that ignores the case sees it:
// on every system, since Linux too writes to such file systems (FAT).
std::string sameFileKey(std::string name)
{
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

// One chosen piece's file, from its reading until the front end is told how it ended.
struct Piece {
    Piece(const PieceFile& file, const PieceToWrite& toWrite, std::uint64_t held, std::string nameKey)
        : file(file), toWrite(toWrite), held(held), nameKey(std::move(nameKey))
    {
    }

    const PieceFile file;
    const PieceToWrite toWrite;
    const std::uint64_t held;  // its data and encoderBytes, while a worker has it
    const std::string nameKey; // sameFileKey of its file's name
    WaveBuffer buffer;
    std::string outputPath;
    // From the moment it is handed to the workers, these are the run's mutex's.
    PieceResult result;
    bool handed = false;
    bool finished = false;
};

class WorkerRun {
public:
    WorkerRun(const LoopDefinition& definition, const OutputOptions& options, ConversionFrontEnd& frontEnd,
              const PieceWriter& writer, unsigned workers)
        : definition_(definition), options_(options), frontEnd_(frontEnd), writer_(writer), workers_(workers),
          readingHooks_(*this)
    {
    }
    // Reached before the end of run only when something threw: the workers stop as at a cancel.
    ~WorkerRun()
    {
        cancel_ = true;
        stopWorkers();
    }
    WorkerRun(const WorkerRun&) = delete;
    WorkerRun& operator=(const WorkerRun&) = delete;

    ConversionCounts run(const std::vector<std::int32_t>& rows)
    {
        std::uint64_t largest = 0;
        for (std::int32_t row : rows) {
            if (known(row))
                largest = std::max<std::uint64_t>(largest, entry(row).wave_size);
        }
        budget_ = 2 * largest + workerBytesBeyondPieces;
        for (const PieceFile& file : pieceFiles(definition_, rows, options_)) {
            if (!start(file))
                break;
        }
        waitUntil([this] { return inFlight_ == 0; });
        stopWorkers();
        // The last steps and ends.
        pump();
        return counts_;
    }

private:
    // The calling thread's hooks while it reads a piece: the front end's, with the workers' progress
    // shown at each yield and a cancel passed on to them.
    class ReadingHooks : public ConversionHooks {
    public:
        explicit ReadingHooks(WorkerRun& run) : run_(run) {}
        void step() override { run_.frontEnd_.step(); }
        void yieldOnce() override { run_.pump(); }
        bool isCancelled() override { return run_.lookForCancel(); }

    private:
        WorkerRun& run_;
    };

    // A worker's: its steps counted for the calling thread to show, the cancel it passed on.
    class WorkerHooks : public ConversionHooks {
    public:
        explicit WorkerHooks(WorkerRun& run) : run_(run) {}
        void step() override { ++run_.workerSteps_; }
        void yieldOnce() override {}
        bool isCancelled() override { return run_.cancel_; }

    private:
        WorkerRun& run_;
    };

    bool known(std::int32_t row) const
    {
        return row >= 0 && static_cast<std::size_t>(row) < definition_.entries().size();
    }
    const MusicEntry& entry(std::int32_t row) const { return definition_.entries()[static_cast<std::size_t>(row)]; }

    // Reads the piece of file and hands it to the workers, or ends it here; false when the run is
    // cancelled.
    bool start(const PieceFile& file)
    {
        if (!known(file.row)) {
            Piece& piece = add(file, PieceToWrite{missing_, PieceTags(), options_, PiecePart::Whole, {}}, 0, "");
            PieceSteps(readingHooks_, pieceSteps(options_.loopCount)).makeUpRest();
            end(piece, PieceResult::failed(PieceFailure::NoSuchPiece));
            return true;
        }
        const PieceToWrite toWrite = pieceToWrite(definition_, static_cast<std::size_t>(file.row), options_, file.part);
        const std::uint64_t held = toWrite.entry.wave_size + encoderBytes;
        const std::string nameKey = sameFileKey(outputName(toWrite));
        // Room for its data, a worker free or about to be, and no piece of the same name being written,
        // so that the question about an existing file is asked as when one piece is written at a time.
        waitUntil([&] { return cancel_ || (inFlight_ <= workers_ && held_ + held <= budget_ && !writing(nameKey)); });
        if (cancel_) {
            counts_.cancelled = true;
            return false;
        }
        Piece& piece = add(file, toWrite, held, nameKey);
        PieceSteps steps(readingHooks_, pieceSteps(toWrite.options.loopCount));
        const PieceResult result = readPiece(piece.toWrite, writer_, piece.buffer, frontEnd_, steps, piece.outputPath);
        if (result.end == PieceEnd::Written) {
            hand(piece);
            return true;
        }
        if (result.end == PieceEnd::Cancelled)
            cancel_ = true;
        else
            steps.makeUpRest();
        piece.buffer = WaveBuffer();
        end(piece, result);
        return result.end != PieceEnd::Cancelled;
    }

    Piece& add(const PieceFile& file, const PieceToWrite& toWrite, std::uint64_t held, const std::string& nameKey)
    {
        pieces_.push_back(std::make_unique<Piece>(file, toWrite, held, nameKey));
        return *pieces_.back();
    }

    // Whether a piece whose file has the name of nameKey is being written. Called with the mutex held.
    bool writing(const std::string& nameKey) const
    {
        return std::any_of(pieces_.begin(), pieces_.end(), [&](const std::unique_ptr<Piece>& piece) {
            return piece->handed && !piece->finished && piece->nameKey == nameKey;
        });
    }

    void end(Piece& piece, const PieceResult& result)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        piece.result = result;
        piece.finished = true;
    }

    void hand(Piece& piece)
    {
        bool another = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            piece.handed = true;
            queue_.push_back(&piece);
            ++inFlight_;
            held_ += piece.held;
            another = threads_.size() < workers_ && threads_.size() < inFlight_;
        }
        changed_.notify_all();
        if (!another)
            return;
        try {
            threads_.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            // Without a single worker the calling thread encodes; with some, they take every piece.
            if (threads_.empty())
                encodeHere();
        }
    }

    void work()
    {
        leaveStopSignalsToOtherThreads();
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            if (queue_.empty())
                return;
            Piece& piece = *queue_.front();
            queue_.pop_front();
            lock.unlock();
            WorkerHooks hooks(*this);
            const PieceResult result = encode(piece, hooks);
            lock.lock();
            finish(piece, result);
            changed_.notify_all();
        }
    }

    void encodeHere()
    {
        Piece* piece = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            piece = queue_.front();
            queue_.pop_front();
        }
        const PieceResult result = encode(*piece, readingHooks_);
        std::lock_guard<std::mutex> lock(mutex_);
        finish(*piece, result);
    }

    PieceResult encode(Piece& piece, ConversionHooks& hooks)
    {
        PieceResult result = PieceResult::ended(PieceEnd::Cancelled);
        // A piece still waiting for a worker when the run is cancelled is never started.
        if (!cancel_) {
            PieceSteps steps(hooks, writingSteps(piece.toWrite.options.loopCount));
            try {
                result = writePieceFile(piece.outputPath, piece.toWrite, writer_, piece.buffer, steps);
            } catch (const std::exception&) {
                // An encoder out of memory: the piece fails as a write that fell short, no thread ends.
                const std::string unfinished = unfinishedPath(piece.outputPath);
                const bool removed = !pathExists(unfinished) || deleteFile(unfinished);
                result = PieceResult::failed(removed ? PieceFailure::WriteFailed : PieceFailure::CannotRemove);
            }
            if (result.end == PieceEnd::Failed)
                steps.makeUpRest();
        }
        // Given back before the next piece is read.
        piece.buffer = WaveBuffer();
        return result;
    }

    // Called with the mutex held.
    void finish(Piece& piece, const PieceResult& result)
    {
        piece.result = result;
        piece.finished = true;
        --inFlight_;
        held_ -= piece.held;
    }

    // Shows the workers' steps, tells the front end how the pieces ended, in the order of the rows,
    // up to the first one still on its way, lets the user act and passes a cancel on.
    void pump()
    {
        for (std::uint64_t steps = workerSteps_.exchange(0); steps > 0; --steps)
            frontEnd_.step();
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (pieces_.empty() || !pieces_.front()->finished)
                    break;
            }
            const std::unique_ptr<Piece> piece = std::move(pieces_.front());
            pieces_.pop_front();
            if (toldAsFailure(piece->result))
                frontEnd_.pieceFailed(piece->toWrite, piece->result);
            countPiece(counts_, piece->file, piece->result);
        }
        frontEnd_.yieldOnce();
        lookForCancel();
    }

    bool lookForCancel()
    {
        if (frontEnd_.isCancelled())
            cancel_ = true;
        return cancel_;
    }

    // Keeps pumping until ready, which the workers' progress makes true.
    template <typename Ready>
    void waitUntil(const Ready& ready)
    {
        for (;;) {
            pump();
            std::unique_lock<std::mutex> lock(mutex_);
            if (ready())
                return;
            changed_.wait_for(lock, pumpInterval);
        }
    }

    void stopWorkers()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
        threads_.clear();
    }

    const LoopDefinition& definition_;
    const OutputOptions& options_;
    ConversionFrontEnd& frontEnd_;
    const PieceWriter& writer_;
    const unsigned workers_;
    const MusicEntry missing_;
    ReadingHooks readingHooks_;
    std::uint64_t budget_ = 0;
    ConversionCounts counts_;
    // The pieces not yet told, in the order of the rows; the calling thread's alone.
    std::deque<std::unique_ptr<Piece>> pieces_;
    std::vector<std::thread> threads_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> workerSteps_{0};

    std::mutex mutex_;
    std::condition_variable changed_;
    // What the mutex guards, besides the pieces' ends:
    std::deque<Piece*> queue_; // handed and waiting for a worker
    std::size_t inFlight_ = 0; // handed and not finished
    std::uint64_t held_ = 0;   // what those hold
    bool stopping_ = false;
};

} // namespace

ConversionCounts convertWithWorkers(const LoopDefinition& definition, const OutputOptions& options,
                                    const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                                    const PieceWriter& writer, unsigned workers)
{
    WorkerRun run(definition, options, frontEnd, writer, workers);
    return run.run(rows);
}
