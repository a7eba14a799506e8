#!/usr/bin/env python3
"""The performance table in Markdown from the capture's timing reports (its standard output with
--timing): per scene set and per scene and pass, the GPU's median and 95th-percentile time and
the CPU's median, for each size and sample count, with the renderer and the GPU memory lines.

Usage: tools/performance_table.py --fps RATE LOG...   (tools/performance.sh runs it)
"""
import argparse
import re
import sys


def parse(path):
    run = {"rows": [], "memory": "", "driver": "", "renderer": "", "gpu": True}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("renderer: "):
                run["renderer"] = line[len("renderer: "):]
            elif m := re.match(r"size: (\d+)x(\d+), samples: (\d+)", line):
                run["size"], run["samples"] = f"{m[1]} x {m[2]}", int(m[3])
            elif line.startswith("GPU ms: "):
                run["gpu"] = "timer queries" in line
            elif line.startswith("capture: GPU memory allocated: "):
                run["memory"] = line.split(": ", 2)[2]
            elif line.startswith("capture: GPU memory, the driver's figures: "):
                run["driver"] = line.split(": ", 2)[2]
            elif line.startswith("  ") and len(line.split()) == 3 and run["rows"]:
                name, median, p95 = line.split()
                run["rows"][-1]["passes"][name] = (float(median), float(p95), None)
            elif len(fields := line.split()) == 8 and re.fullmatch(r"\d+", fields[1]):
                run["rows"].append({"set": fields[0], "frames": int(fields[1]),
                                    "figures": (float(fields[5]), float(fields[6]), float(fields[7])), "passes": {}})
    if "size" not in run or not run["rows"]:
        sys.exit(f"performance_table: {path} holds no timing report")
    return run


def cell(value):
    return "" if value is None else f"{value:.2f}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fps", required=True)
    parser.add_argument("logs", nargs="+")
    args = parser.parse_args()
    runs = [parse(p) for p in args.logs]
    renderers = sorted({r["renderer"] for r in runs})
    software = any("llvmpipe" in r or "softpipe" in r or "SwiftShader" in r for r in renderers)
    out = ["# Performance", ""]
    out.append(f"Renderer: {', '.join(renderers)}.")
    if software:
        out.append("This is a software renderer: every figure below is the CPU rendering, not a GPU's time. "
                   "It draws only when commands are flushed, so the timer flushes at every mark: the frame's, "
                   "the scenes' and the off-screen passes' figures are what they cost, but within a scene that "
                   "draws into the frame most of it falls on the scene's first stretch, where the multisampled "
                   "tiles are cleared and stored.")
    if not all(r["gpu"] for r in runs):
        out.append("The driver has no timer queries: the scene and pass times are the CPU's clock around each.")
    every = "every frame at 60 fps" if args.fps == "60" else f"{args.fps} frame(s) for each second of the programme"
    out += ["", f"The whole programme on the capture's fixed clock, {every} (`tools/performance.sh`). "
            "Times in ms: the GPU's median and 95th percentile per frame (timer queries), and the CPU's median "
            "time issuing the frame. A scene set's row is the whole frame; the rows below it are its scenes and "
            "their passes (`resolve`: the multisampled frame into the window).", ""]
    out += ["## GPU memory the program allocated", "",
            "| size | samples | allocated | the driver's figures |", "|---|---|---|---|"]
    for r in runs:
        out.append(f"| {r['size']} | {r['samples']} | {r['memory']} | {r['driver']} |")
    for size in dict.fromkeys(r["size"] for r in runs):
        group = [r for r in runs if r["size"] == size]
        out += ["", f"## {size}", ""]
        header = "| scenes / pass | frames |"
        rule = "|---|---:|"
        for r in group:
            label = f"{r['samples']} samples" if r["samples"] else "no multisampling"
            header += f" GPU median ({label}) | GPU p95 | CPU median |"
            rule += "---:|---:|---:|"
        out += [header, rule]
        sets = list(dict.fromkeys(row["set"] for r in group for row in r["rows"]))
        for name in sets:
            found = [next((row for row in r["rows"] if row["set"] == name), None) for r in group]
            frames = "/".join(dict.fromkeys(str(row["frames"]) for row in found if row))
            line = f"| **{name}** | {frames} |"
            for row in found:
                line += " | | |" if row is None else "".join(f" {cell(v)} |" for v in row["figures"])
            out.append(line)
            for pass_name in dict.fromkeys(p for row in found if row for p in row["passes"]):
                line = f"| &nbsp;&nbsp;{pass_name} | |"
                for row in found:
                    figures = row["passes"].get(pass_name) if row else None
                    line += " | | |" if figures is None else "".join(f" {cell(v)} |" for v in figures)
                out.append(line)
    print("\n".join(out))


if __name__ == "__main__":
    main()
