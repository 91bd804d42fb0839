#!/usr/bin/env python3
"""The frames of a time series drawn on a Dask cluster, one task per frame, each frame written by
the worker that drew it: the pictures `corvane render --series DATA... -o FOLDER/` makes, spread
over as many machines as the cluster has.

    python3 series_on_dask.py -o frames/ --size 800x600 run_0*.dat
    python3 series_on_dask.py -o frames/ --scheduler tcp://head:8786 --settings crv.ini run_*.dat

Without --scheduler a LocalCluster of two worker processes is started on this machine. As the
command line does, the view is fitted to the first frame and kept for all of them, so the
pictures line up; the frames are frame_0001.png, frame_0002.png, ...
"""
import argparse
import os

import corvane


def render_frame(path, out, size, settings, sets, view):
    """One task: read a frame, draw it with the series' view and write it where the worker runs."""
    ds = corvane.read(path, settings=settings, set=sets)
    corvane.render(ds, size=size, view=view).save(out)
    return out


def render_series(client, paths, folder, size=None, settings=None, sets=None):
    """Draws every frame of `paths` on the cluster of `client`; returns the pictures' paths in order."""
    os.makedirs(folder, exist_ok=True)
    first = corvane.read(paths[0], settings=settings, set=sets)
    view = corvane.render(first, size=size).view  # fitted to the first frame, as --series does
    outs = [os.path.join(folder, "frame_%04d.png" % (k + 1)) for k in range(len(paths))]
    futures = client.map(render_frame, paths, outs, size=size, settings=settings, sets=sets, view=view, pure=False)
    return client.gather(futures)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("data", nargs="+", help="the frames' data files, in order")
    parser.add_argument("-o", "--output", required=True, help="folder for frame_0001.png, ...")
    parser.add_argument("--size", help="WxH of the pictures (default: the settings' plot window)")
    parser.add_argument("--settings", help="settings file, as --settings of the command line")
    parser.add_argument("--set", action="append", default=[], metavar="NAME=VALUE", help="as --set of the command line")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler (default: a local cluster)")
    args = parser.parse_args()
    size = tuple(int(v) for v in args.size.split("x")) if args.size else None

    from dask.distributed import Client, LocalCluster

    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)
        client = Client(cluster)
    try:
        written = render_series(client, args.data, args.output, size, args.settings, args.set)
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    print("%s: %d 枚" % (args.output, len(written)))


if __name__ == "__main__":
    main()
