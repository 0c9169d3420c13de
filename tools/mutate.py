#!/usr/bin/env python3
"""Deliberate-fault (mutation) harness for the test suite.

Usage: python3 mutate.py <worktree> <build-dir> <out.tsv> [--no-verify] [--only ID[,ID...]]

For each fault in FAULTS: patch one file of <worktree>/src, build the gtest binaries in
<build-dir>, run each of them, record whether it failed (1 = the fault was caught), and put the
file back byte for byte. The TSV is rewritten after every fault, so a stopped run goes on where it
left off when started again (ids already in the TSV are skipped). Details (exit codes, times,
build errors) go to <out.tsv>.log.

Before the faults, the unmutated tree is built and every binary must pass (skip with --no-verify).

BASELINE holds build fixes that the tree at hand may need before it builds at all. Each is applied
only when its old text is present, for the whole run, and taken back at the end like the faults.
"""

import base64
import json
import os
import signal
import subprocess
import sys
import time

BINARIES = [
    "platform_tests",
    "core_tests",
    "net_tests",
    "generate_tests",
    "cli_tests",
    "browser_tests",
    "ui_tests",
]
TEST_TIMEOUT = 300
BUILD_JOBS = "2"

# (file under the worktree, old text, new text, why). Applied when the old text is there.
BASELINE = []

# (id, file, old text (must occur exactly once), new text, description)
FAULTS = [
    # ---- platform ----
    ("P01", "src/platform/settings_store.cpp",
     "text[i] == '%' && i + 2 < text.size()",
     "text[i] == '%' && i + 3 < text.size()",
     "settings file: an escape at the very end of a value is not decoded (off by one)"),
    ("P02", "src/platform/settings_store.cpp",
     "byte != 0x7F && byte != '%' && byte != '='",
     "byte != 0x7F && byte != '='",
     "settings file: '%' is written unescaped, so a value holding \"%41\" reads back as \"A\""),
    ("P03", "src/platform/date_time.cpp",
     'parts.tm_hour < 12 ? "AM" : "PM"',
     'parts.tm_hour <= 12 ? "AM" : "PM"',
     "time text: the hour after noon (12:xx) is marked AM"),
    ("P04", "src/platform/date_time.cpp",
     "parts.tm_mon + 1, parts.tm_mday",
     "parts.tm_mon, parts.tm_mday",
     "date text: the month is one too low (January is 0)"),
    ("P05", "src/platform/atomic_file.cpp",
     "access == FileAccess::Private ? 0600 : 0666",
     "access == FileAccess::Private ? 0644 : 0666",
     "a private file (settings, a brief holding passwords) is saved readable by everyone"),
    # ---- core ----
    ("C01", "src/core/brief_writer.cpp",
     "{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}",
     "{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)}",
     "brief file: number records are written big-endian"),
    ("C02", "src/core/brief_writer.cpp",
     "auto text = brief.ExtraStrings.rbegin(); text != brief.ExtraStrings.rend(); ++text",
     "auto text = brief.ExtraStrings.begin(); text != brief.ExtraStrings.end(); ++text",
     "brief file: extra strings written first to last, so they load back reversed"),
    ("C03", "src/core/brief_writer.cpp",
     "  data = data.substr(0, std::min(data.size(), kMaxStoredText));\n",
     "",
     "brief file: a text longer than 32767 bytes is not cut, its length word wraps (corrupt file)"),
    ("C04", "src/core/brief_reader.cpp",
     "if (flagCount < 2) {",
     "if (flagCount < 1) {",
     "brief reader: a header with one flag word is not refused as too few flags"),
    ("C05", "src/core/brief_reader.cpp",
     "(newer && olderMayLoad == 0)",
     "(newer && olderMayLoad != 0)",
     "brief reader: a newer file that allows older readers is refused (and one that forbids is read)"),
    ("C06", "src/core/catalogue.cpp",
     "    if (path.empty()) continue;\n",
     "",
     "catalogue: a run with an empty archive path is listed"),
    ("C07", "src/core/utf8_text.cpp",
     "byte(0xC0 | (codePoint >> 6));",
     "byte(0xE0 | (codePoint >> 6));",
     "UTF-8 encoder: wrong lead byte for two-byte characters (e-acute, no-break space)"),
    ("C08", "src/core/internal/html_text.cpp",
     "if (body == name) return std::pair{codePoint, semicolon + 1};",
     "if (body == name) return std::pair{codePoint, semicolon};",
     "HTML text: a named reference (&amp;) leaves its ';' behind"),
    ("C09", "src/core/tag_text.cpp",
     "want == ' ' ? !IsBlankOrLineEnd(have) : LowerAscii(have) != want",
     "want == ' ' ? !IsBlankOrLineEnd(have) : have != want",
     "tag matching is case-sensitive: <A HREF> and <DT> are not recognised"),
    ("C10", "src/core/brief_file.cpp",
     "return std::any_of(brief.WebList.begin(), brief.WebList.end(),",
     "return std::all_of(brief.WebList.begin(), brief.WebList.end(),",
     "a brief where only some entries hold a password is saved shared (world-readable)"),
    ("C11", "src/core/brief_file.cpp",
     "name = name.substr(0, name.find('.'));",
     "name = name.substr(0, name.rfind('.'));",
     "window caption of \"my.news.brf\" keeps \"My.news\" (cut at the last dot, not the first)"),
    ("C12", "src/core/print_layout.cpp",
     "OrNotSet(MaskedPassword(entry.Password))",
     "OrNotSet(entry.Password)",
     "printed brief shows entry passwords in clear instead of stars"),
    ("C13", "src/core/bookmark_reader.cpp",
     "  if (IsQuote(tag[value])) ++value;\n",
     "",
     "bookmarks: a quoted address keeps its opening quote"),
    ("C14", "src/core/startup_layout.cpp",
     "  std::erase(names_, fileName);\n",
     "",
     "recent briefs: a brief opened again appears twice in the list"),
    ("C15", "src/core/settings_io.cpp",
     "input.PasswordModified && input.Password != input.Confirm",
     "input.PasswordModified && input.Password.size() != input.Confirm.size()",
     "preferences: a default password whose confirmation differs but has the same length is taken"),
    # ---- net ----
    ("N01", "src/net/internal/request.cpp",
     'line += " HTTP/1.0";',
     'line += " HTTP/1.1";',
     "request line says HTTP/1.1 (and then sends no keep-alive handling)"),
    ("N02", "src/net/internal/request.cpp",
     "return byte > ' ' && byte != 0x7F;",
     "return byte >= ' ' && byte != 0x7F;",
     "a blank in an address is sent raw, breaking the request line"),
    ("N03", "src/net/internal/base64.cpp",
     "encoded += rest == 2 ? kAlphabet[group >> 6 & 63] : '=';",
     "encoded += rest == 2 ? kAlphabet[group >> 6 & 63] : 'A';",
     "Basic credentials: base64 pads a one-byte tail with 'A=' instead of '=='"),
    ("N04", "src/net/address_forms.cpp",
     "host[host.size() - domain.size() - 1] == '.';",
     "host.size() > domain.size();",
     "same-site test skips the dot: evilexample.com counts as example.com's site"),
    ("N05", "src/net/fetch.cpp",
     "here.Host == credentialsServer_.Host &&\n           here.Port == credentialsServer_.Port;",
     "here.Host == credentialsServer_.Host;",
     "credentials are sent to another port of the same host"),
    ("N06", "src/net/fetch.cpp",
     "(code >= 300 && code <= 303) || code == 307 || code == 308",
     "(code >= 300 && code <= 303) || code == 307",
     "a 308 redirect is not followed"),
    ("N07", "src/net/answer.cpp",
     "if (lflf != std::string_view::npos) return lflf + 2;",
     "if (lflf != std::string_view::npos) return lflf + 1;",
     "LF-only header end: the body starts with the second LF (off by one)"),
    ("N08", "src/net/address_resolve.cpp",
     'endsInDirectory = name == "." || name == "..";',
     'endsInDirectory = name == ".";',
     "resolving \"a/b/..\" drops the trailing slash of the folder"),
    ("N09", "src/net/generated_pages.cpp",
     "      case '<':\n        safe += \"&lt;\";\n        break;\n",
     "",
     "generated pages: '<' in a user name or reason is not escaped (markup injection)"),
    ("N10", "src/net/generated_pages.cpp",
     "return byte != '\"' && byte != '<' && byte != '>';",
     "return byte != '<' && byte != '>';",
     "generated pages: a '\"' in an address is not escaped and ends the href early"),
    ("N11", "src/net/answer.cpp",
     "return acceptOtherFiles ? ContentDecision::NonText : ContentDecision::Reject;",
     "return acceptImages ? ContentDecision::NonText : ContentDecision::Reject;",
     "content type: other files are accepted by the images flag instead of the other-files flag"),
    # ---- generate ----
    ("G01", "src/generate/internal/spider.cpp",
     "level = 2; remaining >= 1;",
     "level = 2; remaining > 1;",
     "spider stops one level short of the entry's depth"),
    ("G02", "src/generate/internal/spider.cpp",
     "    pending.push_back(node->Children.First());\n",
     "",
     "after Stop, promised pages below the first level are not filled (dead links)"),
    ("G03", "src/generate/internal/site_map.cpp",
     'map << "</ul></ul>";',
     'map << "</ul>";',
     "site map: one list is left open"),
    ("G04", "src/generate/internal/summary_page.cpp",
     '(depth > 1 ? "s" : "")',
     '(depth >= 1 ? "s" : "")',
     "summary page says \"1 levels\""),
    ("G05", "src/generate/internal/archive_names.cpp",
     "summaryName.size() - std::min<std::size_t>(3, summaryName.size())",
     "summaryName.size() - std::min<std::size_t>(4, summaryName.size())",
     "run catalogue named \"Brief0cat\" instead of \"Brief0.cat\""),
    ("G06", "src/generate/internal/archive_names.cpp",
     "if (result.size() > 3) result.resize(3);",
     "if (result.size() > 4) result.resize(4);",
     "page names keep four-letter extensions (GL0.html instead of GL0.htm)"),
    ("G07", "src/generate/internal/page_clean.cpp",
     "end = close + 2;",
     "end = close + 1;",
     "comment blanking leaves the '>' of \"-->\" in the stored page"),
    ("G08", "src/generate/internal/page_rewrite.cpp",
     "if (job_.Depth <= 1) {",
     "if (job_.Depth < 1) {",
     "links on the last level are promised pages that no one fetches"),
    ("G09", "src/generate/internal/page_rewrite.cpp",
     'return MatchTagName(target, "_blank") || MatchTagName(target, "_top");',
     'return MatchTagName(target, "_blank");',
     "a link with target=_top is not taken as opening a new window"),
    ("G10", "src/generate/internal/navigation.cpp",
     'if (!frameSet) file << "<hr size=3><br>";',
     'if (frameSet) file << "<hr size=3><br>";',
     "navigation bar: the rule goes on frame sets instead of ordinary pages"),
    ("G11", "src/generate/archived_runs.cpp",
     "rows.push_back({rows.size() + 1, index,",
     "rows.push_back({rows.size(), index,",
     "archived runs are numbered from 0"),
    # ---- cli ----
    ("L01", "src/cli/terminal_text.cpp",
     "(codePoint < 0x20 && codePoint != '\\t')",
     "(codePoint < 0x1B && codePoint != '\\t')",
     "terminal text: ESC and the bytes after it pass to the terminal unescaped"),
    ("L02", "src/cli/command_support.cpp",
     "static_cast<std::uint64_t>(number) > count",
     "static_cast<std::uint64_t>(number) >= count",
     "the last entry / archived run cannot be named by its number"),
    ("L03", "src/cli/brief_commands.cpp",
     '"  Follow external links: " << YesNo(!entry.StayLocal)',
     '"  Follow external links: " << YesNo(entry.StayLocal)',
     "show prints 'Follow external links' inverted"),
    ("L04", "src/cli/brief_commands.cpp",
     "  if (Given(options.noStayLocal)) entry.StayLocal = false;\n",
     "",
     "--follow-external is accepted but ignored"),
    ("L05", "src/cli/brief_commands.cpp",
     "if (std::filesystem::exists(std::filesystem::symlink_status(args.file, error))) {",
     "if (false && std::filesystem::exists(std::filesystem::symlink_status(args.file, error))) {",
     "gleaner new overwrites an existing brief"),
    ("L06", "src/cli/brief_json.cpp",
     "AppendHexDigits(hex, static_cast<unsigned char>(byte), true);",
     "AppendHexDigits(hex, static_cast<unsigned char>(byte), false);",
     "JSON: non-UTF-8 bytes are given in upper-case hex"),
    # ---- browser ----
    ("B01", "src/browser/browser_items.cpp",
     "if (item.size() + 1 > kItemBufferSize) return std::nullopt;",
     "if (item.size() > kItemBufferSize) return std::nullopt;",
     "open item one byte longer than the buffer is still sent (no room for the terminator)"),
    ("B02", "src/browser/internal/debugging_endpoint.cpp",
     "return IsUnreserved(byte) || byte == ':' || byte == '/';",
     "return IsUnreserved(byte) || byte == ':' || byte == '/' || byte == '#';",
     "debugging endpoint: '#' of an address is sent raw, so the fragment is lost"),
    ("B03", "src/browser/browse_to.cpp",
     "settings.BrowserService.empty() || settings.BrowserPath.empty()",
     "settings.BrowserService.empty() && settings.BrowserPath.empty()",
     "a browser with a service but no program path counts as set"),
    ("B04", "src/browser/internal/endpoint_pages.cpp",
     '    const auto type = target.find("type");\n'
     '    if (type != target.end() && *type != "page") continue;\n',
     "",
     "endpoint list: workers and iframes are taken for pages"),
    ("B05", "src/browser/help_pages.cpp",
     "address += '#';",
     "address += '?';",
     "help address joins its anchor with '?' instead of '#'"),
    # ---- ui ----
    ("U01", "src/ui/command_state.h",
     "commands.DeleteEntry = editable && state.HasSelection;",
     "commands.DeleteEntry = state.HasSelection;",
     "Delete Entry stays enabled while the brief is generating"),
    ("U02", "src/ui/brief_setup_dialog.cpp",
     "return ListBox2->topLevelItemCount() - 1 - ListBox2->indexOfTopLevelItem(row);",
     "return ListBox2->topLevelItemCount() - ListBox2->indexOfTopLevelItem(row);",
     "archived runs dialog: the selected row maps to the next run (wrong run viewed/deleted)"),
    ("U03", "src/ui/entry_setup_dialog.cpp",
     "entry_.StayLocal = !LocalOnly->isChecked();",
     "entry_.StayLocal = LocalOnly->isChecked();",
     "entry dialog: Follow External Links is stored inverted"),
    ("U04", "src/ui/entry_setup_dialog.cpp",
     "  Password->setEchoMode(QLineEdit::Password);\n",
     "",
     "entry dialog: the password field shows the password"),
    ("U05", "src/ui/filled_text.cpp",
     "return current == shown_ ? bytes_ : ToBytes(current);",
     "return ToBytes(current);",
     "dialogs: an untouched field of non-UTF-8 bytes is rewritten as UTF-8 on Apply"),
    ("U06", "src/ui/row_editor.cpp",
     "      if (open_) Close();\n",
     "      if (open_) Commit();\n",
     "in-place row editor: Escape keeps the edit instead of dropping it"),
]


def log(out_log, text):
    line = time.strftime("%H:%M:%S ") + text
    print(line, flush=True)
    with open(out_log, "a", encoding="utf-8") as f:
        f.write(line + "\n")


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Patches:
    """Files changed on disk, with their original bytes. The originals are also kept in a state
    file beside the TSV, so a run that was killed outright is repaired when started again."""

    def __init__(self, state_file):
        self.state_file = state_file
        self.originals = {}

    def _save_state(self):
        if not self.originals:
            if os.path.exists(self.state_file):
                os.remove(self.state_file)
            return
        data = {p: base64.b64encode(b).decode() for p, b in self.originals.items()}
        tmp = self.state_file + ".tmp"
        with open(tmp, "w") as f:
            json.dump(data, f)
        os.replace(tmp, self.state_file)

    def repair_leftovers(self):
        if not os.path.exists(self.state_file):
            return []
        with open(self.state_file) as f:
            data = json.load(f)
        for path, b64 in data.items():
            write_bytes(path, base64.b64decode(b64))
        os.remove(self.state_file)
        return list(data)

    def replace(self, path, old, new):
        data = read_bytes(path)
        old_b, new_b = old.encode(), new.encode()
        count = data.count(old_b)
        assert count == 1, f"{path}: old text occurs {count} times, not once: {old!r}"
        if path not in self.originals:
            self.originals[path] = data
            self._save_state()
        write_bytes(path, data.replace(old_b, new_b, 1))

    def restore(self, path):
        if path in self.originals:
            write_bytes(path, self.originals.pop(path))
            self._save_state()

    def restore_all(self):
        for path in list(self.originals):
            self.restore(path)


def build(build_dir):
    cmd = ["cmake", "--build", build_dir, "-j", BUILD_JOBS, "--target", *BINARIES]
    p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                       errors="replace")
    return p.returncode == 0, p.stdout


def run_binary(build_dir, name):
    """(caught, detail). A binary that fails is run once more and counts as failed only when it
    fails again: a few timing tests fail now and then on a loaded machine, and one such flake
    must not count as a caught fault (nor fail the baseline). A time-out counts at once."""
    caught, detail = run_binary_once(build_dir, name)
    if not caught or "TIMEOUT" in detail:
        return caught, detail
    again, detail2 = run_binary_once(build_dir, name)
    if not again:
        return False, f"{detail} -- passed when run again (flake, not counted)"
    return True, detail


def default_signals():
    # A harness started under nohup (or from a shell that ignores some signals) would pass the
    # ignored SIGHUP/SIGINT on to the tests, and the tests of signal handling would then fail.
    for sig in (signal.SIGHUP, signal.SIGINT, signal.SIGTERM, signal.SIGQUIT):
        signal.signal(sig, signal.SIG_DFL)


def run_binary_once(build_dir, name):
    """(failed, detail): failed when the binary exits non-zero, crashes or times out."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    path = os.path.join(build_dir, "bin", name)
    start = time.time()
    p = subprocess.Popen([path, "--gtest_brief=1"], stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, env=env, start_new_session=True,
                         preexec_fn=default_signals,
                         cwd=os.path.join(build_dir, "bin"))
    try:
        out, _ = p.communicate(timeout=TEST_TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        return True, f"{name}: TIMEOUT after {TEST_TIMEOUT}s"
    finally:
        if p.poll() is None:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
    took = time.time() - start
    rc = p.returncode
    failed = [l for l in out.decode(errors="replace").splitlines() if l.startswith("[  FAILED  ]")]
    detail = f"{name}: rc={rc} {took:.1f}s"
    if failed:
        detail += " " + "; ".join(l[len("[  FAILED  ] "):] for l in failed[:4])
    return rc != 0, detail


def read_rows(out_tsv):
    rows = {}
    if not os.path.exists(out_tsv):
        return rows
    with open(out_tsv, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for line in lines[1:]:
        cells = line.split("\t")
        if cells and cells[0] and cells[0] != "TOTAL":
            rows[cells[0]] = cells
    return rows


def write_tsv(out_tsv, rows):
    header = ["id", "file", "description", *BINARIES, "any"]
    order = [f[0] for f in FAULTS]
    lines = ["\t".join(header)]
    totals = [0] * (len(BINARIES) + 1)
    counted = built_fail = 0
    for fid in order + sorted(set(rows) - set(order)):
        if fid not in rows:
            continue
        cells = rows[fid]
        lines.append("\t".join(cells))
        if cells[3] == "BUILD":
            built_fail += 1
            continue
        counted += 1
        for i, v in enumerate(cells[3:3 + len(BINARIES) + 1]):
            totals[i] += int(v)
    note = f"{counted} faults run" + (f", {built_fail} did not build" if built_fail else "")
    lines.append("\t".join(["TOTAL", "", note, *map(str, totals)]))
    tmp = out_tsv + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, out_tsv)


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    flags = [a for a in argv[1:] if a.startswith("--")]
    if len(args) < 3:
        print(__doc__)
        return 2
    worktree, build_dir, out_tsv = (os.path.abspath(a) for a in args[:3])
    verify = "--no-verify" not in flags
    only = None
    if "--only" in argv:
        only = set(argv[argv.index("--only") + 1].split(","))
    out_log = out_tsv + ".log"
    patches = Patches(out_tsv + ".pending")

    # A SIGTERM takes the same way out as Ctrl+C, so the finally below restores the files.
    def on_term(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, on_term)

    ids = [f[0] for f in FAULTS]
    assert len(ids) == len(set(ids)), "fault ids must be unique"
    # Every fault's old text must occur exactly once (checked on the baseline-fixed bytes).
    for fid, rel, old, new, desc in FAULTS:
        path = os.path.join(worktree, rel)
        data = read_bytes(path)
        for brel, bold, bnew, _ in BASELINE:
            if brel == rel:
                data = data.replace(bold.encode(), bnew.encode())
        n = data.count(old.encode())
        assert n == 1, f"{fid} {rel}: old text occurs {n} times, not once: {old!r}"
        assert old != new

    try:
        for path in patches.repair_leftovers():
            log(out_log, f"restored {path} left changed by an earlier run that was killed")
        for rel, old, new, why in BASELINE:
            path = os.path.join(worktree, rel)
            if read_bytes(path).count(old.encode()) == 1:
                patches.replace(path, old, new)
                log(out_log, f"baseline fix for this run: {rel}: {why}")
        baseline = set(patches.originals)

        if verify:
            ok, output = build(build_dir)
            if not ok:
                log(out_log, "the unmutated tree does not build:\n" + output[-4000:])
                return 1
            bad = []
            for name in BINARIES:
                caught, detail = run_binary(build_dir, name)
                log(out_log, "baseline " + detail)
                if caught:
                    bad.append(name)
            if bad:
                log(out_log, "the unmutated tree fails: " + ", ".join(bad))
                return 1

        rows = read_rows(out_tsv)
        for fid, rel, old, new, desc in FAULTS:
            if fid in rows or (only is not None and fid not in only):
                continue
            path = os.path.join(worktree, rel)
            start = time.time()
            before = read_bytes(path)
            patches.replace(path, old, new)
            try:
                ok, output = build(build_dir)
                if not ok:
                    errors = [l for l in output.splitlines() if "error" in l][:5]
                    log(out_log, f"{fid} BUILD failed: " + " | ".join(errors))
                    cells = ["BUILD"] * (len(BINARIES) + 1)
                else:
                    results = []
                    for name in BINARIES:
                        caught, detail = run_binary(build_dir, name)
                        results.append(1 if caught else 0)
                        if caught or "flake" in detail:
                            log(out_log, f"{fid} {'caught by ' if caught else ''}{detail}")
                    cells = [str(v) for v in results] + [str(int(any(results)))]
            finally:
                if path in baseline:
                    write_bytes(path, before)  # back to the baseline-fixed bytes
                else:
                    patches.restore(path)
            rows[fid] = [fid, rel, desc, *cells]
            write_tsv(out_tsv, rows)
            log(out_log, f"{fid} done in {time.time() - start:.0f}s: {' '.join(cells)}  {desc}")
        write_tsv(out_tsv, rows)
    except KeyboardInterrupt:
        log(out_log, "interrupted; files restored; start again to go on")
        return 130
    finally:
        patches.restore_all()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
