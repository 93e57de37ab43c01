! Golden table of the edit descriptors the report uses, written by the Fortran runtime itself.
!
! Every real value is written once per real descriptor and every integer once per integer
! descriptor; the C++ formatter's test reads the table back and must reproduce each field.
! Output format (one row per value, fields between bars):
!   @real <descriptor> ...             header naming the real descriptors in field order
!   <16 hex digits of the double>|<field>|<field>|...|
!   @int <descriptor> ...              header naming the integer descriptors
!   <decimal integer>|<field>|<field>|...|
! The values are deterministic (xorshift generator with a fixed seed).
program format_golden
  use, intrinsic :: iso_fortran_env, only: int64, real64
  use, intrinsic :: ieee_arithmetic, only: ieee_value, ieee_quiet_nan, ieee_positive_inf, &
                                           ieee_negative_inf
  implicit none

  character(len=6), parameter :: real_descs(*) = [character(len=6) :: &
    'F5.3', 'F7.4', 'F7.5', 'F12.3', 'E9.3', 'E11.5', &   ! the report's own
    'E10.3', 'E12.4', 'F8.3', 'F4.1', 'F3.0']              ! neighbours: width, Infinity, d = 0
  character(len=6), parameter :: int_descs(*) = [character(len=6) :: &
    'I2', 'I3', 'I4', 'I5', 'I6', 'I7', 'I9', 'I10', 'I1', 'I8']
  integer(int64) :: state = 88172645463325252_int64
  integer :: k, n

  write (*, '(a)') '# Written by tools/format_golden/format_golden.f90 with ' // compilerName()
  write (*, '(a)') '# Real rows: bits of the double (hex) then one field per descriptor.'
  write (*, '(a)') '# Integer rows: the value then one field per descriptor.'
  call header('@real', real_descs)

  call specials()
  ! Powers of ten over the whole range and the doubles either side of them.
  do k = -300, 300
    call withNeighbours(decimal(1_int64, k))
    call withNeighbours(-decimal(1_int64, k))
  end do
  ! Just below a power of ten: 0.9995, 0.99995, ... scaled; rounding carries into the exponent.
  do k = -300, 300
    call both(decimal(9995_int64, k - 4))
  end do
  do k = -12, 12
    do n = 5, 7
      call withNeighbours(decimal(10_int64**n - 5, k - n))
      call withNeighbours(-decimal(10_int64**n - 5, k - n))
    end do
  end do
  call fieldLimits()
  call decimalTies()
  call binaryTies()
  ! Log-uniform values over the whole range and, more densely, where fixed point shows digits.
  do k = 1, 3000
    call put(randomSign() * 10.0_real64**(uniform() * 600 - 300))
  end do
  do k = 1, 3000
    call put(randomSign() * 10.0_real64**(uniform() * 16 - 7))
  end do

  call header('@int', int_descs)
  call integers()

contains

  function compilerName() result(s)
    use, intrinsic :: iso_fortran_env, only: compiler_version
    character(len=:), allocatable :: s
    s = compiler_version()
  end function

  subroutine header(tag, descs)
    character(len=*), intent(in) :: tag, descs(:)
    integer :: i
    character(len=:), allocatable :: s
    s = tag
    do i = 1, size(descs)
      s = s // ' ' // trim(descs(i))
    end do
    write (*, '(a)') s
  end subroutine

  ! The double nearest m * 10**e, read from its decimal text as the runtime rounds it.
  real(real64) function decimal(m, e)
    integer(int64), intent(in) :: m
    integer, intent(in) :: e
    character(len=40) :: s
    write (s, '(i0, "e", i0)') m, e
    read (s, *) decimal
  end function

  ! Next value of the xorshift64 generator, uniform in [0, 1).
  real(real64) function uniform()
    state = ieor(state, ishft(state, 13))
    state = ieor(state, ishft(state, -7))
    state = ieor(state, ishft(state, 17))
    uniform = real(ishft(state, -11), real64) / 2.0_real64**53
  end function

  real(real64) function randomSign()
    randomSign = merge(1.0_real64, -1.0_real64, uniform() < 0.5_real64)
  end function

  integer(int64) function randomInt(lo, hi)
    integer(int64), intent(in) :: lo, hi
    randomInt = lo + int(uniform() * real(hi - lo + 1, real64), int64)
  end function

  subroutine specials()
    real(real64) :: zero
    zero = 0
    call put(zero)
    call put(-zero)
    call put(ieee_value(zero, ieee_positive_inf))
    call put(ieee_value(zero, ieee_negative_inf))
    call put(ieee_value(zero, ieee_quiet_nan))
    call both(huge(zero))
    call both(tiny(zero))
    call both(transfer(1_int64, zero))   ! smallest subnormal
    call both(1.0e-310_real64)
  end subroutine

  ! Largest values each fixed-point field can hold, where rounding decides between digits
  ! and asterisks: 99.99995 in F7.4, 99999999.9995 in F12.3, and the same for negatives.
  subroutine fieldLimits()
    integer :: w, d, i, intDigits
    integer, parameter :: widths(5) = [5, 7, 7, 12, 8], decs(5) = [3, 4, 5, 3, 3]
    do i = 1, size(widths)
      w = widths(i)
      d = decs(i)
      intDigits = w - d - 1
      call withNeighbours(decimal(10_int64**(intDigits + d + 1) - 5, -(d + 1)))
      call withNeighbours(-decimal(10_int64**(intDigits - 1 + d + 1) - 5, -(d + 1)))
      call withNeighbours(decimal(10_int64**(intDigits + d) - 1, -d))
      call withNeighbours(-decimal(10_int64**(intDigits - 1 + d) - 1, -d))
      call withNeighbours(decimal(5_int64, -(d + 1)))    ! rounds to the last decimal or to zero
      call withNeighbours(-decimal(5_int64, -(d + 1)))
    end do
  end subroutine

  ! Decimal halfway values: a random mantissa followed by the digit 5, so the nearest double
  ! lies just above or below the tie and the digit-exact rounding shows.
  subroutine decimalTies()
    integer :: i, digits, e
    integer(int64) :: m
    do i = 1, 2500
      digits = int(uniform() * 8) + 1
      m = randomInt(10_int64**(digits - 1), 10_int64**digits - 1) * 10 + 5
      e = int(uniform() * 20) - 14
      call put(randomSign() * decimal(m, e))
    end do
  end subroutine

  ! Exact binary ties: odd multiples of a power of two with short decimal expansions
  ! (0.125, 2.5, 1235, 0.0625 ...), where the rounding rule for halves decides.
  subroutine binaryTies()
    integer :: i, k
    integer(int64) :: j
    do k = 1, 12
      do i = 1, 40
        j = 2 * randomInt(0_int64, 5000_int64) + 1
        call put(randomSign() * real(j, real64) / 2.0_real64**k)
      end do
    end do
    do i = 1, 200
      j = randomInt(100_int64, 999999_int64) * 10 + 5
      call put(randomSign() * real(j, real64))
    end do
  end subroutine

  subroutine both(x)
    real(real64), intent(in) :: x
    call put(x)
    call put(-x)
  end subroutine

  subroutine withNeighbours(x)
    real(real64), intent(in) :: x
    call put(nearest(x, -1.0_real64))
    call put(x)
    call put(nearest(x, 1.0_real64))
  end subroutine

  subroutine put(x)
    real(real64), intent(in) :: x
    integer :: i
    character(len=:), allocatable :: row
    character(len=16) :: bits
    write (bits, '(z16.16)') transfer(x, 0_int64)
    row = bits // '|'
    do i = 1, size(real_descs)
      row = row // realField(real_descs(i), x) // '|'
    end do
    write (*, '(a)') row
  end subroutine

  function realField(desc, x) result(s)
    character(len=*), intent(in) :: desc
    real(real64), intent(in) :: x
    character(len=:), allocatable :: s
    allocate (character(len=width(desc)) :: s)
    write (s, '(' // trim(desc) // ')') x
  end function

  function intField(desc, v) result(s)
    character(len=*), intent(in) :: desc
    integer(int64), intent(in) :: v
    character(len=:), allocatable :: s
    allocate (character(len=width(desc)) :: s)
    write (s, '(' // trim(desc) // ')') v
  end function

  ! Field width of a descriptor such as E11.5 or I7.
  integer function width(desc)
    character(len=*), intent(in) :: desc
    integer :: dot
    dot = index(desc, '.')
    if (dot == 0) dot = len_trim(desc) + 1
    read (desc(2:dot - 1), *) width
  end function

  subroutine putInt(v)
    integer(int64), intent(in) :: v
    integer :: i
    character(len=:), allocatable :: row
    character(len=24) :: text
    write (text, '(i0)') v
    row = trim(text) // '|'
    do i = 1, size(int_descs)
      row = row // intField(int_descs(i), v) // '|'
    end do
    write (*, '(a)') row
  end subroutine

  subroutine integers()
    integer :: k
    integer(int64) :: p
    call putInt(0_int64)
    call putInt(huge(p))
    call putInt(-huge(p))
    call putInt(-huge(p) - 1)
    p = 1
    do k = 0, 18
      call putInt(p - 1)
      call putInt(p)
      call putInt(p + 1)
      call putInt(-(p - 1))
      call putInt(-p)
      call putInt(-(p + 1))
      if (k < 18) p = p * 10
    end do
    do k = 1, 400
      call putInt(int(randomSign() * 10.0_real64**(uniform() * 12), int64))
    end do
  end subroutine

end program
