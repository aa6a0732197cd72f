// Records where pkg-config says the Karpa libraries are installed, so that
// the crate finds them at run time without further set-up.
use std::process::Command;

fn main() {
    for var in ["PKG_CONFIG_PATH", "PKG_CONFIG_LIBDIR", "PKG_CONFIG_SYSROOT_DIR"] {
        println!("cargo:rerun-if-env-changed={}", var);
    }
    println!("cargo:rerun-if-changed=build.rs");
    let libdir = Command::new("pkg-config")
        .args(["--variable=libdir", "karpa-seq"])
        .output()
        .ok()
        .filter(|out| out.status.success())
        .map(|out| String::from_utf8_lossy(&out.stdout).trim().to_string())
        .filter(|dir| !dir.is_empty())
        .map(|dir| std::fs::canonicalize(&dir).map(|p| p.display().to_string()).unwrap_or(dir))
        .unwrap_or_default();
    if libdir.is_empty() {
        println!("cargo:warning=pkg-config does not know karpa-seq; the libraries will be looked for in KARPA_LIB_DIR, karpa::set_library_dir and the system loader path");
    }
    println!("cargo:rustc-env=KARPA_PKG_CONFIG_LIBDIR={}", libdir);
}
