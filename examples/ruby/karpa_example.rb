# Loads the four Karpa libraries from Ruby with Fiddle (standard library),
# calls one export of each, shows a failure, and shows that Ruby's own
# trap("INT") survives the loading.
#
#   ruby karpa_example.rb
#
# The libraries are read from KARPA_LIB_DIR (default: ../../build/lib from here).

require "fiddle"
require "fiddle/import"

$stdout.sync = true   # what was printed stays printed if the process is killed

LIB_DIR = ENV.fetch("KARPA_LIB_DIR", "").empty? ? File.expand_path("../../build/lib", __dir__) : ENV["KARPA_LIB_DIR"]

# Loading a Karpa library installs its own handlers for SIGINT, SIGSEGV,
# SIGABRT, SIGFPE and SIGILL and ignores SIGPIPE, for the whole process.
# Save the dispositions with libc's sigaction before loading and put them back
# after. struct sigaction is kept opaque: 256 bytes hold glibc's on x86-64.
module Libc
  extend Fiddle::Importer
  dlload Fiddle::Handle::DEFAULT
  extern "int sigaction(int, const void*, void*)"
end

LIBRARY_SIGNALS = %w[INT SEGV ABRT FPE ILL PIPE].map { |name| Signal.list.fetch(name) }
SIGACTION_SIZE = 256

def load_keeping_signals(file)
  saved = []
  LIBRARY_SIGNALS.each do |signum|
    old = Fiddle::Pointer.malloc(SIGACTION_SIZE, Fiddle::RUBY_FREE)
    saved << [signum, old] if Libc.sigaction(signum, nil, old).zero?
  end
  begin
    Fiddle::Handle.new(file)
  ensure
    saved.each { |signum, old| Libc.sigaction(signum, old, nil) }
  end
end

def load_library(name)
  file = File.join(LIB_DIR, "libkarpa_#{name}.so")
  load_keeping_signals(file)
rescue Fiddle::DLError => e
  warn "cannot load #{file} (#{e.message}); set KARPA_LIB_DIR to the folder that holds it"
  exit 1
end

# Ruby's own handler, set before loading.
interrupted = false
trap("INT") { interrupted = true }

# One export of each library, declared with its C signature. A const char*
# result is a Fiddle::Pointer: null? for the failure, to_s copies the text.
module Karpa
  extend Fiddle::Importer
  dlload(*%w[seq curried datetime crypto].map { |name| load_library(name) })
  extern "const char* seq_sort_int(const char*, int)"
  extern "const char* cur_mean_int(const char*)"
  extern "int64_t dt_days_between(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t)"
  extern "const char* sha256_hash(const char*, int)"
end

def text(pointer)
  pointer.null? ? nil : pointer.to_s
end

def show(value)
  value.nil? ? "null" : value.dump
end

puts %(seq_sort_int(" 3,1, 2", 0) = #{show(text(Karpa.seq_sort_int(" 3,1, 2", 0)))})
puts %(cur_mean_int("1,2,2") = #{show(text(Karpa.cur_mean_int("1,2,2")))})
puts %(dt_days_between(2024, 1, 1, 2024, 3, 1) = #{Karpa.dt_days_between(2024, 1, 1, 2024, 3, 1)})
data = "abc"
puts %(sha256_hash("abc", 3) = #{show(text(Karpa.sha256_hash(data, data.bytesize)))})

# A failure: the library answers with the null pointer.
failed = text(Karpa.seq_sort_int("3,x", 0))
puts %(seq_sort_int("3,x", 0) = #{show(failed)}#{failed.nil? ? " (failure)" : ""})

# Without the restore, the library's handler would print
# "SIGINT: Interrupted by Ctrl-C." and end the process here.
Process.kill("INT", Process.pid)
sleep 0.01 until interrupted
puts "SIGINT reached the script's own trap"
