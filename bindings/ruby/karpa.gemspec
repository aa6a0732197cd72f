require_relative 'lib/karpa/version'

Gem::Specification.new do |s|
  s.name = 'karpa'
  s.version = Karpa::VERSION
  s.summary = "Karpa's four libraries (sequences, statistics, calendar, digests) for Ruby, through Fiddle"
  s.description = 'Calls the libkarpa_* shared libraries found through KARPA_LIB_DIR, pkg-config or the ' \
                  'system loader path; failures raise Karpa::Error with the library kind and message.'
  s.authors = ['Karpa']
  s.license = 'MIT'
  s.files = Dir['lib/**/*.rb'] + ['LICENSE']
  s.require_paths = ['lib']
  s.required_ruby_version = '>= 3.0'
  s.add_runtime_dependency 'fiddle', '>= 1.0'
end
