# minitest: the gem against installed libraries (found through
# KARPA_LIB_DIR, pkg-config or the system loader path).
require 'minitest/autorun'
require 'open3'
require 'rbconfig'
require 'karpa'

class KarpaTest < Minitest::Test
  def failure
    yield
    flunk 'no exception'
  rescue Karpa::Error => e
    e
  end

  def test_every_export_answers_its_table_example
    Karpa::EXAMPLES.each do |mod, function, args, result|
      call = -> { Karpa.const_get(mod).public_send(function, *args) }
      if result.nil?
        assert_raises(Karpa::Error, function) { call.call }
      else
        assert_equal result, call.call, function
      end
    end
  end

  def test_failure_carries_the_library_kind_and_message
    error = failure { Karpa::Seq.sort_int('3,x', 0) }
    assert_equal 'invalid integer: x', error.message
    assert_equal 'ValueError', error.kind
    assert_equal 'seq_sort_int', error.function
    assert_equal ['3,x', 0], error.arguments
    assert_match(/Error: unhandled exception: invalid integer: x \[ValueError\]\n\z/, error.report)
    overflow = failure { Karpa::Seq.reduce_sum_int([2**63 - 1, 1]) }
    assert_equal %w[OverflowDefect over-\ or\ underflow], [overflow.kind, overflow.message]
    range = failure { Karpa::Seq.take_int('1', -3) }
    assert_equal 'value out of range: -3 notin 0 .. 9223372036854775807', range.message
    assert_equal '1,2', Karpa::Seq.sort_int([2, 1], 0) # a failure leaves the next call alone
  end

  def test_calendar_zeros_are_failures_or_answers
    assert_equal 0, Karpa::Datetime.ymd_to_ts(1970, 1, 1)
    assert_equal 0, Karpa::Datetime.days_between(2024, 2, 29, 2024, 2, 29)
    assert_equal 'AssertionDefect', failure { Karpa::Datetime.ymd_to_ts(2023, 2, 29) }.kind
    failure { Karpa::Datetime.days_between(2023, 2, 29, 2023, 2, 29) }
    assert_equal true, Karpa::Datetime.is_leap_year(2000)
  end

  def test_lists_go_in_as_arrays_and_come_back_as_arrays
    assert_equal [-1, 2, 3], Karpa.ints(Karpa::Seq.sort_int([3, -1, 2], 0))
    # Every float value reaches the library exactly: the same answer as its own text.
    values = [0.1, -0.0, 5e-324, 1e300, 1e21, Float::NAN, -Float::INFINITY]
    assert_equal Karpa::Curried.minmax_float('0.1,-0.0,5e-324,1e300,1e21,nan,-inf'), Karpa::Curried.minmax_float(values)
    assert_equal '0.30000000000000004', Karpa::Seq.reduce_sum_float([0.1, 0.2])
    assert_equal %w[NaN -Infinity 1.5], Karpa.floats('nan,-inf,1.5').map(&:to_s)
    assert_equal %w[b a c], Karpa.strings(Karpa::Curried.union_string(%w[b a], %w[a c]))
    assert_equal ['', 'a', ''], Karpa.strings(',a,')
    assert_equal [], Karpa.strings('')
    assert_raises(ArgumentError) { Karpa::Seq.sort_string(['a,b'], 0) }
    assert_raises(TypeError) { Karpa::Seq.sort_int([1.5], 0) }
    assert_raises(RangeError) { Karpa::Seq.take_int('1', 2**31) }
    assert_raises(ArgumentError) { Karpa::Seq.sort_int("1\0,2", 0) }
    assert_equal Karpa::Crypto.md5_hash("\u00e9"), Karpa::Crypto.md5_hash("\xC3\xA9".b)
    assert_equal Encoding::UTF_8, Karpa::Seq.map_string('é', '<', '>').encoding
  end

  def test_results_stay_after_later_calls_and_across_threads
    first = Karpa::Seq.sort_int([3, 1, 2], 0)
    Karpa::Seq.reverse_int((0...10_000).to_a)
    assert_equal '1,2,3', first
    threads = 4.times.map do |t|
      Thread.new { 200.times.map { |k| Karpa::Seq.sort_int([k, t], 0) == [k, t].sort.join(',') }.all? }
    end
    assert threads.map(&:value).all?
  end

  def test_libraries_load_from_a_given_folder
    file = Karpa.library_path('seq')
    assert_match(/\Alibkarpa_seq\.so/, File.basename(file))
    script = "require 'karpa'; Karpa.library_dir = ARGV[0]; print Karpa.library_path('crypto')"
    out, err, = Open3.capture3({ 'KARPA_LIB_DIR' => nil }, RbConfig.ruby, '-e', script, File.dirname(file))
    assert_equal File.join(File.dirname(file), 'libkarpa_crypto.so.1'), out, err
  end

  def test_loading_keeps_rubys_own_sigint_handler
    script = <<~'RUBY'
      trap('INT') { puts 'own handler'; exit 0 }
      require 'karpa'
      Karpa::Seq.sort_int([2, 1], 0); Karpa::Curried.sum_int([1]); Karpa::Datetime.add_days(2024, 1, 1, 1)
      Karpa::Crypto.md5_hash('')
      Process.kill('INT', Process.pid)
      sleep 5
      exit 3
    RUBY
    out, err, status = Open3.capture3(RbConfig.ruby, '-e', script)
    assert_equal "own handler\n", out, err
    assert_equal 0, status.exitstatus
  end
end
