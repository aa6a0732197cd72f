"""The README's "At scale" block, as written, on a real Dask cluster.

The block starts a distributed.LocalCluster of two worker processes on
127.0.0.1, runs the pipeline there, asserts the single-process answer and shuts
the cluster down; here it runs as a script and its printed line must be the
one its comment shows.
"""

import os
import subprocess
import sys
import tempfile
import unittest

from support import PACKAGE_ROOT, REPO

from test_readme import python_blocks

try:
    import dask.bag  # noqa: F401
    import distributed  # noqa: F401
    MISSING = None
except ImportError as error:
    MISSING = (f"Dask is not installed for {sys.executable} ({error}); scripts/setup.sh --tests installs "
               "Debian's python3-dask and python3-distributed for the system's Python")
if os.environ.get("KARPA_TEST_SANITIZED"):
    MISSING = "the cluster's worker processes are not run under the sanitizer runtimes; the release build runs this"


@unittest.skipIf(MISSING, MISSING)
class AtScale(unittest.TestCase):
    def test_readme_pipeline_on_a_local_cluster(self):
        block = python_blocks("At scale")[0]
        expected = block.rsplit("# ", 1)[1].strip()
        with tempfile.TemporaryDirectory(prefix="karpa-dask-") as scratch:
            script = os.path.join(scratch, "at_scale.py")
            with open(script, "w", encoding="utf-8") as out:
                out.write(block)
            env = dict(os.environ, PYTHONPATH=os.pathsep.join(p for p in (PACKAGE_ROOT, os.environ.get("PYTHONPATH")) if p))
            env.setdefault("KARPA_LIB_DIR", os.path.join(REPO, "build", "lib"))
            result = subprocess.run([sys.executable, script], cwd=scratch, env=env, capture_output=True, text=True,
                                    timeout=600)
        self.assertEqual(result.returncode, 0, result.stderr[-3000:])
        self.assertEqual(result.stdout.strip(), expected)


if __name__ == "__main__":
    unittest.main()
