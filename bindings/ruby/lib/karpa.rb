# Karpa for Ruby: the four libraries through Fiddle. Each function is its
# export's name without the library prefix (seq_sort_int is
# Karpa::Seq.sort_int); lists go in as arrays or list text, results come back
# as the library's text (Karpa.ints, Karpa.floats, Karpa.strings turn list
# text into arrays). A call the library cannot answer raises Karpa::Error.
require 'fiddle'
require 'open3'
require 'rbconfig'
require 'karpa/version'

module Karpa
  INT32 = (-(2**31)..(2**31 - 1)).freeze
  INT64 = (-(2**63)..(2**63 - 1)).freeze
  NAMES = %w[seq curried datetime crypto].freeze

  # A call the library could not answer. kind ("ValueError", "OverflowDefect",
  # "IndexDefect", "RangeDefect", "AssertionDefect") and message are the
  # library's own, read when first asked for: the library keeps them per
  # thread and gives them out only through TovMain, so the call is repeated in
  # a short-lived child Ruby that then calls TovMain.
  class Error < StandardError
    attr_reader :function, :arguments

    # raw: the arguments as they reached the library (text with its closing NUL).
    def initialize(function, raw)
      @function = function
      @raw = raw
      @arguments = raw.map { |a| a.is_a?(String) ? a.chomp("\0") : a }.freeze
      super(function)
    end

    def kind = reason[0]
    def message = reason[1]
    def report = reason[2]
    def to_s = message

    def inspect
      "#<Karpa::Error #{function}(#{arguments.map(&:inspect).join(', ')}): #{message} [#{kind}]>"
    end

    private

    def reason
      @reason ||= Karpa.library_reason(function, @raw)
    end
  end

  # A library that could not be found or loaded.
  class LibraryError < StandardError; end

  REPEAT_CALL = <<~'RUBY'.freeze
    require 'fiddle'
    file, name, types, result, args = Marshal.load($stdin.binmode.read)
    handle = Fiddle::Handle.new(file)
    Fiddle::Function.new(handle[name], types, result).call(*args)
    Fiddle::Function.new(handle['TovMain'], [], Fiddle::TYPE_VOID).call
  RUBY
  REPORT_LAST_LINE = /Error: unhandled exception: (.*) \[(\w+)\]\n?\z/m.freeze

  # [kind, message, report] of a failed call, from the library's own report.
  def self.library_reason(name, args)
    library, = SIGNATURES.fetch(name)
    lib = load(library)
    payload = Marshal.dump([lib[:file], name, lib[:types][name], lib[:results][name], args])
    out, err, status = Open3.capture3(RbConfig.ruby, '--disable-gems', '-e', REPEAT_CALL,
                                      stdin_data: payload, binmode: true)
    err = err.force_encoding(Encoding::UTF_8)
    match = REPORT_LAST_LINE.match(err)
    return [nil, 'the library could not answer these arguments (it wrote no report)', err + out] \
      if status.exitstatus != 1 || match.nil?

    [match[2], match[1], err]
  rescue SystemCallError => e
    [nil, "the library could not answer these arguments (its report could not be read: #{e.message})", '']
  end

  # Loading ------------------------------------------------------------------

  @libraries = {}
  @lock = Mutex.new
  @library_dir = nil

  class << self
    # The folder to look in first for libkarpa_*.so (then KARPA_LIB_DIR,
    # pkg-config's libdir of karpa-<name>, then the system loader path).
    attr_accessor :library_dir
  end

  def self.pkg_config_libdir(name)
    out, status = Open3.capture2('pkg-config', '--variable=libdir', "karpa-#{name}", err: File::NULL)
    status.success? && !out.strip.empty? ? File.expand_path(out.strip) : nil
  rescue SystemCallError
    nil
  end

  def self.locate(name)
    dirs = []
    dirs << File.expand_path(library_dir) if library_dir
    dirs.concat(ENV.fetch('KARPA_LIB_DIR', '').split(File::PATH_SEPARATOR).reject(&:empty?).map { |d| File.expand_path(d) })
    pc = pkg_config_libdir(name)
    dirs << pc if pc
    searched = []
    dirs.each do |dir|
      ["libkarpa_#{name}.so.1", "libkarpa_#{name}.so"].each do |file|
        path = File.join(dir, file)
        searched << path
        return [[path], searched] if File.file?(path)
      end
    end
    [["libkarpa_#{name}.so.1", "libkarpa_#{name}.so"], searched]
  end

  module Libc
    SIGACTION = Fiddle::Function.new(Fiddle::Handle::DEFAULT['sigaction'],
                                     [Fiddle::TYPE_INT, Fiddle::TYPE_VOIDP, Fiddle::TYPE_VOIDP], Fiddle::TYPE_INT)
  end
  # Loading a library installs its own handlers for these signals; the
  # process's own (Ruby's trap handlers among them) are put back right after.
  LIBRARY_SIGNALS = %w[INT SEGV ABRT FPE ILL PIPE].map { |s| Signal.list.fetch(s) }.freeze
  SIGACTION_SIZE = 256 # more than glibc's struct sigaction on x86-64; kept opaque

  def self.open_keeping_signals(file)
    saved = []
    LIBRARY_SIGNALS.each do |signum|
      old = Fiddle::Pointer.malloc(SIGACTION_SIZE, Fiddle::RUBY_FREE)
      saved << [signum, old] if Libc::SIGACTION.call(signum, nil, old).zero?
    end
    begin
      Fiddle::Handle.new(file)
    ensure
      saved.each { |signum, old| Libc::SIGACTION.call(signum, old, nil) }
    end
  end

  FIDDLE = { 'P' => Fiddle::TYPE_VOIDP, 'I' => Fiddle::TYPE_INT, 'L' => Fiddle::TYPE_LONG_LONG }.freeze
  RESULTS = { 'text' => Fiddle::TYPE_VOIDP, 'int64' => Fiddle::TYPE_LONG_LONG, 'bool' => Fiddle::TYPE_INT }.freeze

  def self.load(name)
    @libraries[name] || @lock.synchronize do
      @libraries[name] ||= begin
        files, searched = locate(name)
        failures = []
        handle = file = nil
        files.each do |f|
          handle = open_keeping_signals(f)
          file = f
          break
        rescue Fiddle::DLError => e
          failures << e.message
        end
        if handle.nil?
          raise LibraryError, "cannot load libkarpa_#{name}: #{failures.join('; ')}. Looked in: " \
                              "#{searched.join(', ')}, then the system loader path (set Karpa.library_dir or " \
                              "KARPA_LIB_DIR, or make pkg-config find karpa-#{name})"
        end
        lib = { file: file, handle: handle, functions: {}, types: {}, results: {} }
        SIGNATURES.each do |export, (library, result, types, _)|
          next unless library == name

          lib[:types][export] = types.chars.map { |t| FIDDLE.fetch(t) }
          lib[:results][export] = RESULTS.fetch(result)
          lib[:functions][export] = Fiddle::Function.new(handle[export], lib[:types][export], lib[:results][export])
        end
        lib
      end
    end
  end

  # The file a library was loaded from: 'seq', 'curried', 'datetime' or 'crypto'.
  def self.library_path(name)
    raise ArgumentError, "no library #{name.inspect}" unless NAMES.include?(name)

    load(name)[:file]
  end

  # Calls ----------------------------------------------------------------------

  EPOCH = [1970, 1, 1].freeze

  # The calendar exports that answer a failure with 0 also answer 0 for real:
  # ymd_to_ts for 1970-01-01, days_between for two equal valid dates.
  def self.zero_is_answer?(lib, name, args)
    case name
    when 'dt_ymd_to_ts' then args == EPOCH
    when 'dt_days_between'
      args[0, 3] == args[3, 3] && (args[0, 3] == EPOCH || !lib[:functions]['dt_ymd_to_ts'].call(*args[0, 3]).zero?)
    else false
    end
  end

  def self.call(name, args)
    library, result, _, zero_fails = SIGNATURES.fetch(name)
    lib = load(library)
    # Text travels NUL-terminated; the strings live until the call returns.
    value = lib[:functions][name].call(*args)
    case result
    when 'text'
      raise Error.new(name, args) if value.null?

      value.to_s.force_encoding(Encoding::UTF_8) # copied before the next call
    when 'bool' then !value.zero?
    else
      raise Error.new(name, args) if zero_fails && value.zero? && !zero_is_answer?(lib, name, args)

      value
    end
  end

  # Arguments ------------------------------------------------------------------

  def self.bytes_of(value, what)
    raise TypeError, "#{what} must be a String, not #{value.class}" unless value.is_a?(String)

    return value.b if value.encoding == Encoding::BINARY || value.encoding == Encoding::UTF_8 || value.ascii_only?

    value.encode(Encoding::UTF_8).b
  end

  def self.text(value, what)
    data = bytes_of(value, what)
    raise ArgumentError, "#{what} contains a NUL character" if data.index("\0")

    data << "\0"
  end

  # Float#to_s prints the shortest text that reads back to the same value.
  def self.float_repr(x)
    f = Float(x)
    return 'nan' if f.nan?
    return f.positive? ? 'inf' : '-inf' if f.infinite?

    f.to_s
  end

  def self.float_text(value, what = 'value')
    value.is_a?(Numeric) ? "#{float_repr(value)}\0" : text(value, what)
  end

  def self.list(value, what)
    return text(value, what) if value.is_a?(String)

    value.map { |item| yield item }.join(',').b << "\0"
  end

  def self.int_list(value, what = 'list')
    list(value, what) do |item|
      raise TypeError, "#{what} items must be Integers, not #{item.class}" unless item.is_a?(Integer)
      raise RangeError, "#{what} item #{item} does not fit 64 bits" unless INT64.cover?(item)

      item.to_s
    end
  end

  def self.float_list(value, what = 'list')
    list(value, what) do |item|
      raise TypeError, "#{what} items must be numbers, not #{item.class}" unless item.is_a?(Numeric)

      float_repr(item)
    end
  end

  def self.string_list(value, what = 'list')
    list(value, what) do |item|
      data = bytes_of(item, "#{what} item")
      raise ArgumentError, "#{what} item #{item.inspect} holds ',' or NUL, which list text cannot carry" if data =~ /[,\0]/n

      data
    end
  end

  # A byte buffer as the C pair (pointer, length).
  def self.bytes(value, what = 'data')
    data = bytes_of(value, what)
    raise RangeError, "#{what} is longer than a C int can count" unless INT32.cover?(data.bytesize)

    [data, data.bytesize]
  end

  def self.int32(value, what)
    raise TypeError, "#{what} must be an Integer" unless value.is_a?(Integer)
    raise RangeError, "#{what} = #{value} does not fit a 32-bit C int" unless INT32.cover?(value)

    value
  end

  def self.int64(value, what)
    raise TypeError, "#{what} must be an Integer" unless value.is_a?(Integer)
    raise RangeError, "#{what} = #{value} does not fit 64 bits" unless INT64.cover?(value)

    value
  end

  # Results --------------------------------------------------------------------

  def self.pieces(text)
    text.empty? ? [] : text.split(',', -1)
  end

  def self.ints(text) = pieces(text).map { |p| Integer(p, 10) }

  SPECIAL_FLOATS = { 'nan' => Float::NAN, '-nan' => Float::NAN, 'inf' => Float::INFINITY,
                     '-inf' => -Float::INFINITY }.freeze

  def self.floats(text) = pieces(text).map { |p| SPECIAL_FLOATS.fetch(p) { Float(p) } }

  def self.strings(text) = pieces(text)
end

require 'karpa/exports'
