#!/usr/bin/env bash
# Applies single faults to the safety-critical code, one at a time, and runs the core
# tests against each: a fault the tests do not notice is a hole in them. Run on demand,
# never in CI: every fault costs a rebuild.
#
#   scripts/mutation.sh                 every fault
#   scripts/mutation.sh -k batch        only faults whose name holds "batch"
#   scripts/mutation.sh -l              list the faults
#   scripts/mutation.sh -c              check that every fault still applies, no build
#   MUTATION_TESTS=Batch scripts/mutation.sh -k batch   only tests matching a ctest -R regex
#   MUTATION_REVISION=main scripts/mutation.sh          the tests of a commit, not of the tree
#
# The tree (committed and uncommitted files) is copied to $MUTATION_DIR (default
# /tmp/vorlane-mutation), built there once, and each fault is applied, built
# incrementally, tested and taken back in that one copy; the tree you work in is never
# changed. Exit status: 0 when every fault was killed, 1 when one survived, 2 when a fault
# no longer applies (its code changed: update its pattern).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
work=${MUTATION_DIR:-/tmp/vorlane-mutation}
only=""
list=0 check=0
while getopts "k:lc" option; do
    case $option in
        k) only=$OPTARG ;;
        l) list=1 ;;
        c) check=1 ;;
        *) sed -n '5,11p' "$0" >&2; exit 2 ;;
    esac
done

names=() files=() edits=()
# fault NAME FILE PERL-SUBSTITUTION: one fault, applied with perl -0 (the whole file is one
# string, so a pattern may span lines).
fault() { names+=("$1"); files+=("$2"); edits+=("$3"); }

# What the review's mutation run found surviving.
fault kept-file-times-not-restored engine/FilePurger.cpp \
    's/\n\s*\(void\)Sys\(\)\.SetTimes\(job\.fd\.Get\(\), job\.checked\.times\);\n(\s*\}\n\s*RestoreMode)/\n$1/'
fault times-not-restored-after-failed-delete engine/FilePurger.cpp \
    's/\n\s*\/\/ After the cut[^\n]*\n\s*\(void\)Sys\(\)\.SetTimes\(job\.fd\.Get\(\), job\.checked\.times\);//'
fault batch-growth-not-checked engine/FilePurger.cpp \
    's/job\.result = job\.result == FileOutcome::Ok \? CheckedLength\(job\) : job\.result;/(void)job;/'
fault growth-under-a-cluster-missed engine/FilePurger.cpp \
    's/return size > job\.covered \?/return size >= job.covered + job.clusterSize ?/'
fault batch-file-flush-failure-dropped engine/FilePurger.cpp \
    's/job\.result = FileOutcome::FlushFailed;/(void)job;/'
fault batch-writes-after-stop engine/FilePurger.cpp \
    's/if \(!goOn\(\)\) \{\n\s*return false;\n\s*\}\n(\s*)job\.result = WriteOverwrite/$1job.result = WriteOverwrite/'
fault batch-folder-flush-dropped engine/FilePurger.cpp \
    's/const std::error_code error = Sys\(\)\.SyncFolder\(folder\);\n(\s*)if \(!error\) \{/const std::error_code error = Sys().SyncFolder(folder);\n$1if (true) {/'
fault remove-folder-of-another-inode platform/Platform.cpp \
    's/if \(now\.kind != FileKind::Directory \|\| now\.device != expected\.device \|\|\n\s*now\.inode != expected\.inode\)/if (now.kind != FileKind::Directory)/'
fault reopen-accepts-another-inode platform/Platform.cpp \
    's/if \(StatOpen\(fd\.Get\(\), opened\) \|\| opened\.device != pinned\.device \|\|\n\s*opened\.inode != pinned\.inode\)/if (StatOpen(fd.Get(), opened))/'
fault deep-folder-moved-during-walk platform/FolderWalk.cpp \
    's/if \(Sys\(\)\.OpenFolder\(child\.fd\.Get\(\), "\.\.", fd, status\) \|\|\n\s*!SameFolder\(status, parent\.status\)\)/if (Sys().OpenFolder(child.fd.Get(), "..", fd, status))/'
fault not-deleted-counted-as-purged-engine engine/FilePurger.cpp \
    's/(\n\s*\}\n\s*)return FileOutcome::NotDeleted;/$1return FileOutcome::Ok;/'
fault not-deleted-counted-as-purged-folder-walk operation/RecursivePurge.cpp \
    's/job\.purged = job\.code == FileOutcome::Ok;/job.purged = job.code == FileOutcome::Ok || job.code == FileOutcome::NotDeleted;/g'
fault not-deleted-counted-as-purged-subfolder-walk operation/SubfolderPurge.cpp \
    's/if \(purged\) \{\n(\s*)\+\+state_\.filesPurged;/if (purged || result.outcome == FileOutcome::NotDeleted) {\n$1++state_.filesPurged;/'
fault no-stop-between-subfolders-folder-walk operation/RecursivePurge.cpp \
    's/(AfterSubfolder\(const platform::WalkFolder& parent, const FolderEntry& entry\) override \{\n)\s*if \(op_\.Stopped\(\)\) \{\n\s*return false;\n\s*\}\n/$1/'
# The subfolder purge walks with the folder purge: its own checkpoint between subfolders
# is its listener's (the F10 question, a stop).
fault no-stop-between-subfolders-subfolder-walk operation/RecursivePurge.cpp \
    's/return ListenerGoesOn\(WalkPoint::AfterSubfolder\);\n(\s*\}\n\s*bool Refused)/return true;\n$1/'
# One date rule serves the folder purge, the single-file check and the confirmation.
fault boundary-day engine/DateRestriction.cpp \
    's/\*day < restriction\.onlyBeforeJdn/*day <= restriction.onlyBeforeJdn/'
fault exit-status-ignores-unread-folder operation/RecursivePurge.cpp \
    's/\n\s*NoteResult\(op_, Seriousness::Failed\);[^\n]*//'
fault declined-file-merged-as-purged operation/RecursivePurge.cpp \
    's/if \(!job\.purged && job\.code == FileOutcome::Ok\) \{/if (false) {/'
fault place-prefix-without-separator support/Strings.cpp \
    's/\(here\.starts_with\(base\) && here\[base\.size\(\)\] == kPathSeparator\)/here.starts_with(base)/'

# This round's safety code.
fault walk-mount-by-device-only platform/FolderWalk.cpp \
    's/if \(SameMount\(child\.status, top_\)\)/if (child.status.device == top_.device)/'
fault file-mount-by-device-only engine/FilePurger.cpp \
    's/if \(!platform::SameMount\(job\.folder, job\.checked\)\)/if (job.folder.device != job.checked.device)/'
fault system-folder-identity-ignored engine/SystemFolders.cpp \
    's/holds = true;\n(\s*)break;/break;/'
fault lease-break-ignored engine/FilePurger.cpp \
    's/return state == platform::LeaseState::Read \? FileOutcome::Ok/return true ? FileOutcome::Ok/'
fault shrink-not-checked engine/FilePurger.cpp \
    's/now\.size < job\.sizeAfterOverwrite \|\|\n\s*//'
fault punched-holes-not-checked engine/FilePurger.cpp \
    's/ \|\|\n\s*now\.blocks < job\.blocksBefore\)/)/'
fault data-run-start-not-rounded engine/FilePurger.cpp \
    's/ByteRange rounded\{RoundDown\(run\.begin, cluster\)/ByteRange rounded{run.begin/'
fault holes-taken-for-data engine/FilePurger.cpp \
    's/status\.blocks \* 512 >= length/true/'
fault unknown-holes-overwrite-nothing engine/FilePurger.cpp \
    's/data = \{\{0, length\}\};/data.clear();/'
# The read-back of the last overwrite.
fault verify-mismatch-ignored engine/FilePurger.cpp \
    's/ \|\|\n\s*std::memcmp\(readBack_\.data\(\), run\.data\(\) \+ phase, chunk\) != 0\)/)/'
fault verify-failure-still-deleted engine/FilePurger.cpp \
    's/result = VerifyLastOverwrite\(job\);/(void)VerifyLastOverwrite(job);/'
fault verify-batch-skipped engine/FilePurger.cpp \
    's/\n\s*VerifyBatch\(jobs, goOn\);//'
fault verify-batch-result-dropped engine/FilePurger.cpp \
    's/jobs\[i\]\.cause, jobs\[i\]\.verified\}/jobs[i].cause}/'
fault verify-memory-volume-written engine/FilePurger.cpp \
    's/if \(job\.request\.verifyLastOverwrite && !Verifiable\(job\.handle\.Get\(\)\)\)/if (false)/'
fault verify-under-own-lease engine/FilePurger.cpp \
    's/(FilePurger::VerifyLastOverwrite\(Job& job\) \{\n)\s*if \(job\.leased\) \{\n\s*Sys\(\)\.ReleaseLease\(job\.fd\.Get\(\)\);\n\s*job\.leased = false;\n\s*\}\n/$1/'
fault verify-stop-not-heard engine/FilePurger.cpp \
    's/if \(!first && job\.hooks\.stopRequested && job\.hooks\.stopRequested\(\)\) \{\n\s*return FileOutcome::Stopped;\n\s*\}\n(\s*const std::int64_t phase[^\n]*\n\s*const auto chunk[^;]*;\n\s*job\.cause = Sys\(\)\.ReadUncached)/$1/'
fault verify-walk-batch-result-dropped operation/RecursivePurge.cpp \
    's/\n\s*job\.verified = batch_\[next\]\.result\.verified;//'
fault verify-slack-past-end-skipped engine/FilePurger.cpp \
    's/(job\.cause = Sys\(\)\.ReadUncached\(job\.fd\.Get\(\), offset, chunk, readBack_\);)/if (offset >= job.length) { break; }\n$1/'
# The purge of free space: the fill, its end, its removal, the start-up clean-up.
fault free-space-small-files-skipped engine/FreeSpaceFill.cpp \
    's/if \(step == Step::Full\) \{\n(\s*)step = FillSmall/if (false) {\n$1step = FillSmall/'
fault free-space-full-volume-error-is-failure engine/FreeSpaceFill.cpp \
    's/space\.availableBlocks == 0;/false;/'
fault free-space-fill-removed-unflushed operation/FreeSpacePurge.cpp \
    's/fill\.Flush\(\); flush/std::error_code(); flush/'
fault free-space-stop-deletes-unflushed operation/FreeSpacePurge.cpp \
    's/if \(filled\.end != FillEnd::Full\) \{/if (false) {/'
fault leftover-fill-lock-ignored engine/FreeSpaceLeftovers.cpp \
    's/busy == std::errc::operation_would_block\)/false)/'
fault leftover-fill-owner-ignored engine/FreeSpaceLeftovers.cpp \
    's/entry\.status\.owner == SysEnvironment\(\)\.UserId\(\)/true/'
fault free-space-tmpfs-not-refused platform/FreeSpaceCalls.cpp \
    's/\(volume\.f_type == TMPFS_MAGIC \|\| volume\.f_type == RAMFS_MAGIC\)/false/'
# Kept reports: the newest 200, only ours, in the order they were written, never half.
fault kept-reports-no-limit operation/KeptReports.cpp \
    's/if \(entries\.size\(\) <= limit\) \{/if (true) {/'
fault kept-reports-foreign-names-removed operation/KeptReports.cpp \
    's/ \|\| !IsKeptReportName\(entry\.name\);/;/'
fault kept-reports-links-removed operation/KeptReports.cpp \
    's/return entry\.status\.kind != platform::FileKind::Regular \|\|/return/'
fault kept-reports-count-reused operation/KeptReports.cpp \
    's/return highest \+ 1;/return 1;/'
fault kept-reports-byte-order operation/KeptReports.cpp \
    's/return std::tuple\(stampA, CountInSecond[^;]*;/return a.name < b.name;/'
fault kept-reports-half-report-left operation/KeptReports.cpp \
    's/if \(error \|\| closed\) \{/if (false) {/'
fault kept-reports-failure-unsaid operation/KeptReports.cpp \
    's/ui\.ReportNotKept\(NotKeptText\(error\)\);//'
fault kept-reports-setting-ignored operation/KeptReports.cpp \
    's/if \(!wanted \|\| !ReportKeepingOn\(\)\) \{/if (!wanted) {/'

# The command line's options and lists of files.
fault cli-exact-option-name-not-preferred cli/Options.cpp \
    's/if \(spec\.name == name\) \{\n\s*return &spec;\n\s*\}\n//'
fault cli-short-cluster-ends-after-first cli/Options.cpp \
    's/given_\[spec->name\]\.clear\(\);\n(\s*)continue;/given_[spec->name].clear();\n$1return true;/'
fault cli-stdin-list-without-yes cli/FilePurgeCommand.cpp \
    's/source == "-" && !options\.Has\("--yes"\)/false/'
fault cli-file-list-not-confirmed cli/FilePurgeCommand.cpp \
    's/if \(options\.Has\("--yes"\)\) \{\n(\s*)return true;/if (true) {\n$1return true;/'
fault cli-file-list-yes-not-taken cli/FilePurgeCommand.cpp \
    's/MessageIcon::Question\}\) ==\n(\s*)MessageAnswer::Yes/MessageIcon::Question}) ==\n$1MessageAnswer::No/'
fault cli-file-list-nul-ignored cli/FileList.cpp \
    's/nulEnded \? .\\0. : .\\n./\x27\\n\x27/'
fault cli-file-list-empty-name-looked-up cli/FileList.cpp \
    's/if \(listed\.name\.empty\(\)\) \{/if (false) {/'
fault cli-file-list-name-cut-at-nul cli/FileList.cpp \
    's/listed\.name\.find\(.\\0.\) != std::string::npos/false/'
fault cli-file-list-beside-folder cli/PurgeCommand.cpp \
    's/if \(IsFileListOption\(name\)\) \{/if (false) {/'

# The command line's records: JSON that parses back to exact names, failures on standard
# error, what the walks tell of each file.
fault json-control-bytes-raw cli/JsonObject.cpp \
    's/if \(byte < 0x20 \|\| byte == 0x7F\)/if (byte == 0x7F)/'
fault json-surrogates-taken-as-text cli/JsonObject.cpp \
    's/high = lead == 0xED \? 0x9F : 0xBF;/high = 0xBF;/'
fault json-path-bytes-dropped cli/FileRecordText.cpp \
    's/if \(!IsValidUtf8\(record\.path\)\)/if (false)/'
fault json-report-on-standard-output cli/CommandOutput.cpp \
    's/return style_\.json \? std::cerr : std::cout;/return std::cout;/'
fault json-summary-status-fixed cli/CommandOutput.cpp \
    's/summary\.Add\("exit_status", exitStatus\);/summary.Add("exit_status", 0);/'
fault failure-not-on-standard-error cli/CommandOutput.cpp \
    's/if \(Failed\(record\)\) \{\n(\s*)PrintError/if (false) {\n$1PrintError/'
fault record-passes-between-passes-ignored operation/RecursivePurge.cpp \
    's/job\.passesSeen = done;/(void)done;/'
fault record-declined-called-written operation/RecursivePurge.cpp \
    's/declined \? 0 : PassesWritten/PassesWritten/'
fault record-trash-files-untold operation/TrashPurge.cpp \
    's/\n\s*emptier\.ObserveFileEnds\([^\n]*//'

if ((list)); then
    printf '%s\n' "${names[@]}"
    exit 0
fi
if ((check)); then
    status=0
    for i in "${!names[@]}"; do
        if perl -0pe "${edits[$i]}" "$here/${files[$i]}" | cmp -s - "$here/${files[$i]}"; then
            echo "${names[$i]}: pattern not found in ${files[$i]}"
            status=2
        fi
    done
    exit $status
fi

targets=(vorlane-cli test_platform test_engine test_support test_tools test_operation test_cli
         test_selection)

# A fresh copy of the tree as it is now, build folder kept between runs (ccache and
# make's own timestamps keep the rebuild per fault small).
mkdir -p "$work/src"
if [[ -n ${MUTATION_REVISION:-} ]]; then
    rm -rf "$work/src" && mkdir "$work/src"
    git -C "$here" archive "$MUTATION_REVISION" | tar -xf - -C "$work/src"
else
    (cd "$here" && git ls-files -z --cached --others --exclude-standard) |
        (cd "$here" && tar --null -T - -cf -) | (cd "$work/src" && tar -xpf -)
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANE_GUI=OFF \
    "${launcher[@]}" >"$work/configure.log"
build() { cmake --build "$work/build" -j"${MUTATION_JOBS:-2}" --target "${targets[@]}"; }
run_tests() {
    local filter=()
    [[ -n ${MUTATION_TESTS:-} ]] && filter=(-R "$MUTATION_TESTS")
    ctest --test-dir "$work/build" -L core -LE forensic -j"${MUTATION_JOBS:-2}" \
        --stop-on-failure "${filter[@]}"
}
if ! build >"$work/build.log" 2>&1 || ! run_tests >"$work/test.log" 2>&1; then
    echo "The tree as it is does not build or pass its tests: see $work/build.log, $work/test.log" >&2
    exit 2
fi

killed=0 survived=0 stale=0 tried=0
for i in "${!names[@]}"; do
    name=${names[$i]} file=$work/src/${files[$i]}
    [[ -n $only && $name != *"$only"* ]] && continue
    cp -p "$file" "$work/original"
    perl -0pi -e "${edits[$i]}" "$file"
    if cmp -s "$file" "$work/original"; then
        printf '%-48s NOT APPLIED (pattern not found)\n' "$name"
        stale=$((stale + 1))
        continue
    fi
    tried=$((tried + 1))
    if ! build >"$work/$name.build.log" 2>&1; then
        verdict="NOT BUILT (see $work/$name.build.log)"
        stale=$((stale + 1))
        tried=$((tried - 1))
    elif run_tests >"$work/$name.test.log" 2>&1; then
        verdict="SURVIVED"
        survived=$((survived + 1))
    else
        verdict="killed: $(grep -m1 -oE '[0-9]+ - [^ ]+' "$work/$name.test.log" || true)"
        killed=$((killed + 1))
    fi
    cp -p "$work/original" "$file"
    touch "$file"  # newer than the faulty object, so the next build takes it back
    printf '%-48s %s\n' "$name" "$verdict"
done
# The build left as it was found, for the next run.
build >"$work/build.log" 2>&1 || true

if ((tried > 0)); then
    printf 'killed %d of %d (%d%%)' "$killed" "$tried" $((100 * killed / tried))
else
    printf 'no fault tried'
fi
((stale > 0)) && printf ', %d not applied' "$stale"
printf '\n'
((stale > 0)) && exit 2
((survived > 0)) && exit 1
exit 0
